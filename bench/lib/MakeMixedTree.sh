#!/bin/sh
# Makes the benchmarks' tree of mixed data in DIR: text, repeated blocks, random bytes, code;
# about 58 MiB per unit of SCALE (default 4: ~230 MiB).   bench/lib/MakeMixedTree.sh DIR [SCALE]
set -eu
tree=$1
scale=${2:-4}
mkdir -p "$tree/text" "$tree/bin"
for i in $(seq 1 $((5 * scale))); do seq $((i * 100000)) $((i * 100000 + 700000)) > "$tree/text/part$i.txt"; done
head -c $((10 * scale << 20)) /dev/urandom > "$tree/random.bin"
head -c $((4 << 20)) /dev/urandom > "$tree/block.tmp"
for i in $(seq 1 $((3 * scale))); do cat "$tree/block.tmp"; done > "$tree/repeated.bin"
rm "$tree/block.tmp"
for f in /usr/bin/* /usr/lib/x86_64-linux-gnu/*.so*; do [ -f "$f" ] && cat "$f"; done 2>/dev/null |
  head -c $((10 * scale << 20)) > "$tree/bin/code.exe" || true  # head closes the pipe early
