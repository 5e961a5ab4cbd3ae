#!/usr/bin/env bash
# Extraction by sevenzip_core, and by 7-zip32.dll under Wine, against 7z x -mmt=1 on the same
# archive, per coder family.
#   bench/extract/RunExtractBench.sh [BUILD_DIR]    (default build/native; needs extract-cli and dist/lzpack)
# Packs a ~58 MiB tree of mixed data (text, repeated blocks, random bytes, code) once per
# family (PPMd only its text: on random bytes it runs at a fraction of a MiB/s, and nobody
# packs those with it), unpacks it into a RAM folder when /dev/shm exists, in rounds of one
# run of each tool (BENCH_EXTRACT_ROUNDS, default 5), and prints the median speeds, each ratio
# as the median of the rounds' own ratios, and the peak memory (RSS) of each. A family whose
# coder the library does not decode yet prints "unsupported". Last, the peak memory of unpacking
# one 200 MiB file packed with a 1 MiB dictionary shows that unpacking streams.
# The library's own figure runs the Windows build's extract-dll-driver and 7-zip32.dll under
# Wine: the 32-bit build, or with BENCH_WINE_BUILD=win64 the 64-bit one as a stand-in where
# no 32-bit code runs (scripts/build.sh win32|win64 first); its time is that of the library's
# SevenZip call, Wine's start-up left out.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/bench/common/Figures.sh"
. "$root/scripts/lib/wine-session.sh"
cli=${1:-$root/build/native}/bench/extract/extract-cli
[ -x "$cli" ] || { echo "build extract-cli first: scripts/build.sh native" >&2; exit 1; }
rounds=${BENCH_EXTRACT_ROUNDS:-5}
wine_arch=${BENCH_WINE_BUILD:-win32}
case $wine_arch in
  win32) dll=$root/dist/7-zip32.dll stand_in="" ;;
  win64) dll=$root/build/win64/dist/7-zip32.dll stand_in=" (64-bit stand-in)" ;;
  *) echo "RunExtractBench.sh: BENCH_WINE_BUILD is win32 or win64" >&2; exit 2 ;;
esac
dll_driver=$root/build/$wine_arch/bench/extract/extract-dll-driver.exe
base=/tmp; [ -d /dev/shm ] && base=/dev/shm
work=$(mktemp -d "$base/extract-bench.XXXXXX")
wine_started=0
trap '[ $wine_started = 0 ] || wine_session_stop; rm -rf "$work"' EXIT

# FAMILY WHAT-OF-THE-TREE 7z-SWITCHES
families='
LZMA2       .     -m0=LZMA2
LZMA+BCJ2   .     -m0=LZMA -mf=BCJ2
PPMd        text  -m0=PPMd
Deflate     .     -m0=Deflate
BZip2       .     -m0=BZip2
'
unsupported_result=4  # kResultUnsupported of extract-cli and of the library

sh "$root/bench/lib/MakeMixedTree.sh" "$work/tree" 1
echo "tree: $(du -sm "$work/tree" | cut -f1) MiB; $rounds rounds of one run each, load $(cut -d' ' -f1-3 /proc/loadavg)"

dll_note=""
if [ "$(wine_build)" = win32 ] || [ -n "$stand_in" ]; then
  if [ -e "$dll_driver" ] && [ -e "$dll" ]; then
    wine_session_start "$work/wine" "$wine_arch" > /dev/null
    wine_started=1
  else
    dll_note="not measured: build $dll_driver and $dll first"
  fi
else
  dll_note="not measured: this machine cannot start 32-bit programs; BENCH_WINE_BUILD=win64 measures the 64-bit build"
fi

# timed LOG COMMAND...: one run into a fresh folder; appends "SECONDS KIB" (wall time, peak RSS) to LOG,
# or an empty line when the run fails, so that line k of every log is round k.
timed() {
  local log=$1 start end
  shift
  rm -rf "$work/out"
  start=$EPOCHREALTIME
  /usr/bin/time -f %M -o "$work/time" "$@" > /dev/null 2>&1 || { echo >> "$log"; return 1; }
  end=$EPOCHREALTIME
  echo "$(awk "BEGIN { print $end - $start }") $(cat "$work/time")" >> "$log"
}
# dll_timed LOG ARCHIVE PART: the same through the library under Wine, its call's time alone,
# and its files checked.
dll_timed() {
  local line
  rm -rf "$work/out"
  if ! line=$(wine "$dll_driver" "$dll" "$2" "$work/out" 2> /dev/null) ||
    ! diff -r "$work/tree/$3" "$work/out/$3" > /dev/null; then
    echo >> "$1"
    return 1
  fi
  echo "$(field extract_ms "$line" | awk '{ print $1 / 1000 }') 0" >> "$1"
}
# speed MIB LOG: MiB/s of the median run in LOG; nothing when no run succeeded.
speed() {
  local seconds
  seconds=$(median "$2")
  [ -z "$seconds" ] || awk "BEGIN { print $1 / $seconds }"
}
peak_mib() { awk '$2 > m { m = $2 } END { if (NR) print m / 1024 }' "$1" 2> /dev/null; }

echo "$families" | while read -r family part switches; do
  [ -n "$family" ] || continue
  rm -f "$work/bench.7z" "$work/ours" "$work/7z" "$work/dll"
  # shellcheck disable=SC2086 # the switches are words
  (cd "$work/tree" && 7z a -bd $switches "$work/bench.7z" "$part" > /dev/null)
  mib=$(du -sb "$work/tree/$part" | awk '{ print $1 / 1048576 }')
  rm -rf "$work/out"
  status=0; "$cli" "$work/bench.7z" "$work/out" 2> /dev/null || status=$?
  if [ $status -eq $unsupported_result ]; then
    echo "extraction $family: unsupported (no decoder in the library yet)"
    continue
  fi
  if [ $status -ne 0 ] || ! diff -r "$work/tree/$part" "$work/out/$part" > /dev/null; then
    echo "extraction $family: FAILED (result $status or a tree that differs)"
    continue
  fi
  # Taken in turn, so that a busy moment of the shared machine falls on every tool alike.
  for _ in $(seq "$rounds"); do
    timed "$work/ours" "$cli" "$work/bench.7z" "$work/out" || true
    timed "$work/7z" 7z x -mmt=1 -y "-o$work/out" "$work/bench.7z" || true
    [ -n "$dll_note" ] || dll_timed "$work/dll" "$work/bench.7z" "$part" || true
  done
  theirs=$(speed "$mib" "$work/7z")
  echo "extraction $family: $(awk "BEGIN { printf \"%.1f\", $mib }") MiB, load $(cut -d' ' -f1 /proc/loadavg)"
  ratio "extraction $family, speed ours/7z" "$(speed "$mib" "$work/ours")" "$theirs" MiB/s "7z x -mmt=1" ">= 1.0" \
    "$(round_ratio "$work/ours" "$work/7z")"
  if [ -z "$dll_note" ]; then
    ratio "extraction $family, speed 7-zip32.dll under Wine/native 7z$stand_in" "$(speed "$mib" "$work/dll")" \
      "$theirs" MiB/s "7z x -mmt=1" ">= 1.0" "$(round_ratio "$work/dll" "$work/7z")"
    # The same decoder in both: what running under Wine costs on this machine.
    ratio "extraction $family, speed 7-zip32.dll under Wine/the library natively$stand_in" "$(speed "$mib" "$work/dll")" \
      "$(speed "$mib" "$work/ours")" MiB/s "extract-cli" "none, for reading the two above" \
      "$(round_ratio "$work/dll" "$work/ours")"
  else
    echo "extraction $family, 7-zip32.dll under Wine: $dll_note"
  fi
  ratio "extraction $family, peak memory ours/7z" "$(peak_mib "$work/ours")" "$(peak_mib "$work/7z")" MiB "7z x -mmt=1" "<= 1.00"
done

# A package as lzpack packs it (LZMA2 in independent blocks, decoded on both cores): against
# 7z x as it runs by default, on every core, and against 7z x -mmt=1.
"$root/dist/lzpack" pack "$work/tree" --id 1 --title bench --extract-only --description bench \
  --output "$work/package.7z" > /dev/null
tree_mib=$(du -sb "$work/tree" | awk '{ print $1 / 1048576 }')
rm -f "$work/ours" "$work/7z" "$work/7z-mmt1"
for _ in $(seq "$rounds"); do
  timed "$work/ours" "$cli" "$work/package.7z" "$work/out" || true
  timed "$work/7z" 7z x -y "-o$work/out" "$work/package.7z" || true
  timed "$work/7z-mmt1" 7z x -mmt=1 -y "-o$work/out" "$work/package.7z" || true
done
for peer in 7z 7z-mmt1; do
  name="7z x"; [ $peer = 7z ] || name="7z x -mmt=1"
  ratio "extraction of an lzpack package, speed ours/7z" "$(speed "$tree_mib" "$work/ours")" \
    "$(speed "$tree_mib" "$work/$peer")" MiB/s "$name" ">= 1.0" "$(round_ratio "$work/ours" "$work/$peer")"
  ratio "extraction of an lzpack package, peak memory ours/7z" "$(peak_mib "$work/ours")" "$(peak_mib "$work/$peer")" \
    MiB "$name" "a few MiB over the dictionary per thread"
done

# Streaming: one 200 MiB file, 1 MiB dictionary; memory must stay near the dictionary.
mkdir -p "$work/big"
for _ in 1 2 3 4 5; do cat "$work/tree/random.bin" "$work/tree/text/"* "$work/tree/bin/code.exe"; done 2> /dev/null |
  head -c $((200 << 20)) > "$work/big/one.bin" || true
rm -rf "$work/tree"
(cd "$work/big" && 7z a -bd -mx=1 -m0=LZMA2:d=1m "$work/big.7z" one.bin > /dev/null)
rm -f "$work/ours" "$work/7z"
timed "$work/ours" "$cli" "$work/big.7z" "$work/out" || true
timed "$work/7z" 7z x -mmt=1 -y "-o$work/out" "$work/big.7z" || true
ratio "peak memory unpacking one 200 MiB file (1 MiB dictionary), ours/7z" "$(peak_mib "$work/ours")" \
  "$(peak_mib "$work/7z")" MiB "7z x -mmt=1" "a few MiB over the 1 MiB dictionary"
