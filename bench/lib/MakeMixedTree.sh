#!/bin/sh
# Makes the benchmarks' ~200 MiB tree of mixed data in DIR: text, repeated blocks, random
# bytes, code.   bench/lib/MakeMixedTree.sh DIR
set -eu
tree=$1
mkdir -p "$tree/text" "$tree/bin"
for i in $(seq 1 20); do seq $((i * 100000)) $((i * 100000 + 700000)) > "$tree/text/part$i.txt"; done
head -c $((40 << 20)) /dev/urandom > "$tree/random.bin"
head -c $((4 << 20)) /dev/urandom > "$tree/block.tmp"
for i in $(seq 1 12); do cat "$tree/block.tmp"; done > "$tree/repeated.bin"
rm "$tree/block.tmp"
for f in /usr/bin/* /usr/lib/x86_64-linux-gnu/*.so*; do [ -f "$f" ] && cat "$f"; done 2>/dev/null |
  head -c $((40 << 20)) > "$tree/bin/code.exe" || true  # head closes the pipe early
