#!/usr/bin/env bash
# Extraction by sevenzip_core against 7z x -mmt=1 on the same archive, per coder family.
#   bench/extract/RunExtractBench.sh [BUILD_DIR]    (default build/native; needs extract-cli and dist/lzpack)
# Packs a ~58 MiB tree of mixed data (text, repeated blocks, random bytes, code) once per
# family, unpacks it five times with each tool into a RAM folder when /dev/shm exists and
# prints the median speeds and the peak memory (RSS) of both. A family whose coder the library
# does not decode yet prints "unsupported". Last, the peak memory of unpacking one 200 MiB
# file packed with a 1 MiB dictionary shows that unpacking streams.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/bench/common/Figures.sh"
cli=${1:-$root/build/native}/bench/extract/extract-cli
[ -x "$cli" ] || { echo "build extract-cli first: scripts/build.sh native" >&2; exit 1; }
base=/tmp; [ -d /dev/shm ] && base=/dev/shm
work=$(mktemp -d "$base/extract-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

# FAMILY 7z-SWITCHES
families='
LZMA2       -m0=LZMA2
LZMA+BCJ2   -m0=LZMA -mf=BCJ2
PPMd        -m0=PPMd
Deflate     -m0=Deflate
BZip2       -m0=BZip2
'
unsupported_result=4  # kResultUnsupported of extract-cli

sh "$root/bench/lib/MakeMixedTree.sh" "$work/tree" 1
tree_mib=$(du -sm "$work/tree" | cut -f1)
echo "tree: $tree_mib MiB"

# median COMMAND...: "SECONDS KIB", the median wall time of five runs and the largest RSS; the
# machine is shared, so one lucky or unlucky run decides nothing.
median() {
  local t m times=() max_m=0
  for _ in 1 2 3 4 5; do
    rm -rf "$work/out"
    /usr/bin/time -f "%e %M" -o "$work/time" "$@" > /dev/null 2>&1 || return 1
    read -r t m < "$work/time"
    times+=("$t")
    [ "$m" -gt "$max_m" ] && max_m=$m
  done
  echo "$(printf '%s\n' "${times[@]}" | sort -n | sed -n 3p) $max_m"
}
mib() { awk "BEGIN { print $1 / 1024 }"; }

echo "$families" | while read -r family switches; do
  [ -n "$family" ] || continue
  rm -f "$work/bench.7z"
  # shellcheck disable=SC2086 # the switches are words
  (cd "$work/tree" && 7z a -bd $switches "$work/bench.7z" . > /dev/null)
  rm -rf "$work/out"
  status=0; "$cli" "$work/bench.7z" "$work/out" 2> /dev/null || status=$?
  if [ $status -eq $unsupported_result ]; then
    echo "extraction $family: unsupported (no decoder in the library yet)"
    continue
  fi
  if [ $status -ne 0 ] || ! diff -r "$work/tree" "$work/out" > /dev/null; then
    echo "extraction $family: FAILED (result $status or a tree that differs)"
    continue
  fi
  read -r ours_s ours_kib <<< "$(median "$cli" "$work/bench.7z" "$work/out")"
  read -r theirs_s theirs_kib <<< "$(median 7z x -mmt=1 -y "-o$work/out" "$work/bench.7z")"
  ratio "extraction $family, speed ours/7z" "$(awk "BEGIN { print $tree_mib / $ours_s }")" \
    "$(awk "BEGIN { print $tree_mib / $theirs_s }")" MiB/s "7z x -mmt=1" ">= 0.9"
  ratio "extraction $family, peak memory ours/7z" "$(mib "$ours_kib")" "$(mib "$theirs_kib")" MiB "7z x -mmt=1" "<= 1.00"
done

# A package as lzpack packs it (LZMA2 in independent blocks, decoded on both cores): against
# 7z x as it runs by default, on every core, and against 7z x -mmt=1.
"$root/dist/lzpack" pack "$work/tree" --id 1 --title bench --extract-only --description bench \
  --output "$work/package.7z" > /dev/null
read -r ours_s ours_kib <<< "$(median "$cli" "$work/package.7z" "$work/out")"
for threads in "" -mmt=1; do
  # shellcheck disable=SC2086 # no switch at all for the default run
  read -r theirs_s theirs_kib <<< "$(median 7z x $threads -y "-o$work/out" "$work/package.7z")"
  ratio "extraction of an lzpack package, speed ours/7z" "$(awk "BEGIN { print $tree_mib / $ours_s }")" \
    "$(awk "BEGIN { print $tree_mib / $theirs_s }")" MiB/s "7z x${threads:+ $threads}" ">= 1.0"
  ratio "extraction of an lzpack package, peak memory ours/7z" "$(mib "$ours_kib")" "$(mib "$theirs_kib")" MiB \
    "7z x${threads:+ $threads}" "a few MiB over the dictionary per thread"
done

# Streaming: one 200 MiB file, 1 MiB dictionary; memory must stay near the dictionary.
mkdir -p "$work/big"
for _ in 1 2 3 4 5; do cat "$work/tree/random.bin" "$work/tree/text/"* "$work/tree/bin/code.exe"; done 2> /dev/null |
  head -c $((200 << 20)) > "$work/big/one.bin" || true
rm -rf "$work/tree"
(cd "$work/big" && 7z a -bd -mx=1 -m0=LZMA2:d=1m "$work/big.7z" one.bin > /dev/null)
read -r _ ours_kib <<< "$(median "$cli" "$work/big.7z" "$work/out")"
read -r _ theirs_kib <<< "$(median 7z x -mmt=1 -y "-o$work/out" "$work/big.7z")"
ratio "peak memory unpacking one 200 MiB file (1 MiB dictionary), ours/7z" "$(mib "$ours_kib")" \
  "$(mib "$theirs_kib")" MiB "7z x -mmt=1" "a few MiB over the 1 MiB dictionary"
