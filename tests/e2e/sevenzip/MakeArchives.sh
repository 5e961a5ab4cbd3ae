#!/bin/sh
# Makes the archives the 7-zip32.dll test unpacks under Wine:  MakeArchives.sh OUTPUT_DIR
#   tree/         the files to pack: text, random data, code, Chinese names, empty file and folder
#   package.7z    tree packed by 7z with default settings, plus a trailing information block
#   corpus/NAME.7z and expected/NAME/   tree packed with one row's switches, and what 7z x
#                 makes of it; corpus.txt lists the names
set -eu
out=$1
rm -rf "$out"
mkdir -p "$out/tree/data" "$out/tree/文档" "$out/tree/bin" "$out/tree/empty folder" "$out/corpus" "$out/expected"
seq 1 50000 > "$out/tree/readme.txt"
head -c 300000 /dev/urandom > "$out/tree/data/random.bin"
printf '中文内容\n' > "$out/tree/文档/说明 文件.txt"
head -c 200000 /usr/lib/p7zip/7z.so > "$out/tree/bin/tool.exe"
: > "$out/tree/zero.txt"
(cd "$out/tree" && 7z a -bd ../package.7z . > /dev/null)
head -c 2000 /dev/urandom >> "$out/package.7z"

# One archive per coder and filter the library decodes.
: > "$out/corpus.txt"
sh "$(dirname "$0")/../../common/SevenZipCoderRows.sh" | while read -r name switches; do
  # shellcheck disable=SC2086 # the switches are words
  (cd "$out/tree" && 7z a -bd $switches "../corpus/$name.7z" . > /dev/null)
  7z x -bd -y "-o$out/expected/$name" "$out/corpus/$name.7z" > /dev/null
  echo "$name" >> "$out/corpus.txt"
done
