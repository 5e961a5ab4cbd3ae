#!/usr/bin/env bash
# Extraction speed of sevenzip_core against 7z, single-threaded, on the same archive.
#   bench/extract/RunExtractBench.sh [BUILD_DIR]    (default build/native; needs extract-cli)
# Makes a ~200 MiB tree of mixed data (text, repeated blocks, random bytes, code) packed
# with 7z's default LZMA2, unpacks it three times with each tool into a RAM folder when
# /dev/shm exists, and prints the best times and the speed ratio ours/7z (target >= 0.8).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cli=${1:-$root/build/native}/bench/extract/extract-cli
[ -x "$cli" ] || { echo "build extract-cli first: scripts/build.sh native" >&2; exit 1; }
base=/tmp; [ -d /dev/shm ] && base=/dev/shm
work=$(mktemp -d "$base/extract-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

sh "$root/bench/lib/MakeMixedTree.sh" "$work/tree"
(cd "$work/tree" && 7z a -bd ../bench.7z . > /dev/null)
echo "tree: $(du -sm "$work/tree" | cut -f1) MiB, archive: $(du -sm "$work/bench.7z" | cut -f1) MiB"

best() {  # best wall time in seconds of three runs of "$@"
  local t best=
  for _ in 1 2 3; do
    rm -rf "$work/out"
    /usr/bin/time -f %e -o "$work/time" "$@" > /dev/null 2>&1
    t=$(cat "$work/time")
    if [ -z "$best" ] || awk "BEGIN{exit !($t < $best)}"; then best=$t; fi
  done
  echo "$best"
}
ours=$(best "$cli" "$work/bench.7z" "$work/out")
rm -rf "$work/out"; "$cli" "$work/bench.7z" "$work/out"
diff -r "$work/tree" "$work/out" > /dev/null || { echo "extract-cli output differs from the tree" >&2; exit 1; }
theirs=$(best 7z x -mmt=1 -y "-o$work/out" "$work/bench.7z")
echo "7z x -mmt=1: ${theirs} s, sevenzip_core: ${ours} s"
awk "BEGIN{printf \"speed ratio ours/7z: %.2f (target >= 0.8)\n\", $theirs / $ours}"
