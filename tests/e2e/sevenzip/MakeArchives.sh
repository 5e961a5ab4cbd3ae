#!/bin/sh
# The archive the 7-zip32.dll suite unpacks:  MakeArchives.sh OUTPUT_DIR
# package.7z is tree/ packed with 7z's defaults plus a trailing information block.
set -eu
out=$1
rm -rf "$out"
mkdir -p "$out/tree/data" "$out/tree/文档" "$out/tree/bin" "$out/tree/empty folder"
seq 1 50000 > "$out/tree/readme.txt"
head -c 300000 /dev/urandom > "$out/tree/data/random.bin"
printf '中文内容\n' > "$out/tree/文档/说明 文件.txt"
head -c 200000 /usr/lib/p7zip/7z.so > "$out/tree/bin/tool.exe"
: > "$out/tree/zero.txt"
(cd "$out/tree" && 7z a -bd ../package.7z . > /dev/null)
head -c 2000 /dev/urandom >> "$out/package.7z"
