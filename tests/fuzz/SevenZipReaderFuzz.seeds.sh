#!/usr/bin/env bash
# Writes the seed archives of SevenZipReaderFuzz into $1: one small archive per coder row of
# tests/common/SevenZipCoderRows.sh and per header and stream form below, made by Debian's 7z
# from a tree of text, code-like bytes, an empty file, a folder and names in many scripts;
# one of a larger text in independent LZMA2 blocks; and archives that bsdtar writes from "."
# ("./" before every name, an entry "." itself).
set -euo pipefail
out=$1
forms='
lzma-eos          -m0=LZMA:eos
bcj-lzma          -m0=BCJ -m1=LZMA:d=64k
copy-plain-header -m0=Copy -mhc=off
lzma2-per-file    -m0=LZMA2 -ms=off
ppmd-small-model  -m0=PPMd:mem=1m:o=4
'
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tree=$work/tree
mkdir -p "$tree/sub/empty folder"
for i in $(seq 1 80); do echo "line $((i * 7919 % 101)) of the readme"; done >"$tree/readme.txt"
# Bytes 0xE8/0xE9 followed by addresses, so the x86 filters change something.
for i in $(seq 1 100); do printf "$(printf '\\xe8\\x%02x\\x%02x\\x00\\x00\\x0f\\x1f' $((i % 256)) $((i * 3 % 256)))"; done >"$tree/sub/tool.exe"
: >"$tree/empty.txt"
printf '中文内容\n' >"$tree/sub/说明.txt"
for name in 한국어.lng 日本語のファイル.txt Ελληνικά.txt Größe.txt 'ǅŉ 😀.dat' 'a：b∕c'; do printf '%s\n' "$name" >"$tree/sub/$name"; done
mkdir -p "$out"
{ "$(dirname "$0")/../common/SevenZipCoderRows.sh"; echo "$forms"; } | while read -r name switches; do
  [ -n "$name" ] || continue
  rm -f "$out/$name.7z"
  # shellcheck disable=SC2086
  (cd "$tree" && 7z a $switches "$out/$name.7z" . >/dev/null)
done
# A folder large enough to be decoded on several threads, in blocks that reset the dictionary.
for i in $(seq 1 20000); do echo "record $i of the log"; done >"$work/blocks.txt"
rm -f "$out/lzma2-blocks.7z"
(cd "$work" && 7z a -m0=LZMA2:d=64k:c=64k "$out/lzma2-blocks.7z" blocks.txt >/dev/null)
for coder in store lzma2 deflate; do
  rm -f "$out/bsdtar-$coder.7z"
  (cd "$tree" && bsdtar -cf "$out/bsdtar-$coder.7z" --format 7zip --options "7zip:compression=$coder" .)
done
