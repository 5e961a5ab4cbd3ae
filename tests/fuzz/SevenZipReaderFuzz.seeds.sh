#!/usr/bin/env bash
# Writes the seed archives of SevenZipReaderFuzz into $1: one small archive per line of the
# table below, made by Debian's 7z from a tree of text, code-like bytes, an empty file, a
# folder and a Chinese name. A coder the reader learns gets a line here.
set -euo pipefail
out=$1
seeds='
copy              -m0=Copy
lzma              -m0=LZMA:d=64k
lzma-eos          -m0=LZMA:eos
lzma2             -m0=LZMA2:d=64k
bcj-lzma2         -mf=BCJ -m0=LZMA2:d=64k
bcj-lzma          -m0=BCJ -m1=LZMA:d=64k
copy-plain-header -m0=Copy -mhc=off
lzma2-per-file    -m0=LZMA2 -ms=off
ppmd              -m0=PPMd:mem=1m
bzip2             -m0=BZip2
deflate           -m0=Deflate
deflate64         -m0=Deflate64
bcj2              -mf=BCJ2 -m0=LZMA:d=64k
arm               -mf=ARM -m0=Copy
armt              -mf=ARMT -m0=Copy
arm64             -mf=ARM64 -m0=Copy
riscv             -mf=RISCV -m0=Copy
ppc               -mf=PPC -m0=Copy
sparc             -mf=SPARC -m0=Copy
ia64              -mf=IA64 -m0=Copy
delta             -mf=Delta:4 -m0=Copy
swap2             -mf=Swap2 -m0=Copy
swap4             -mf=Swap4 -m0=Copy
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
mkdir -p "$out"
echo "$seeds" | while read -r name switches; do
  [ -n "$name" ] || continue
  rm -f "$out/$name.7z"
  # shellcheck disable=SC2086
  (cd "$tree" && 7z a $switches "$out/$name.7z" . >/dev/null)
done
