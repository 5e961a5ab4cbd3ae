#!/bin/sh
# The install suite's hosts:  MakeInstallPackages.sh LZPACK DLL LAUNCH_PROBE OUTPUT_DIR
# 188.rar packs tree-188 (text, random data, an empty folder, names in many scripts with or
# without a GBK form, entry paths longer than MAX_PATH, the launch probe as its program), which
# 7z unpacks into by7z-188; big.rar holds 3000 small files, so that unpacking takes a few
# seconds; and the library.
set -eu
lzpack=$1 dll=$2 probe=$3 out=$4
rm -rf "$out"
mkdir -p "$out/hosts"

tree="$out/tree-188"
mkdir -p "$tree/bin" "$tree/文档" "$tree/data/empty folder"
seq 1 20000 > "$tree/readme.txt"
head -c 300000 /dev/urandom > "$tree/data/random.bin"
printf '中文内容\n' > "$tree/文档/说明 文件.txt"
cp "$probe" "$tree/bin/app.exe"
: > "$tree/zero.txt"
mkdir -p "$tree/lang"
for name in 한국어.lng 日本語のファイル.txt Ελληνικά.txt 'Größe ß.txt' '😀 sample.dat' ǅŉ.txt 'a：b∕c.txt'; do
  printf '%s\n' "$name" > "$tree/lang/$name"
done
deep="$tree/deep"
for level in 1 2 3 4 5 6 7; do deep="$deep/node_modules/package-with-a-rather-long-name-$level"; done
mkdir -p "$deep"
printf 'module.exports = 1;\n' > "$deep/index.js"
"$lzpack" pack "$tree" --id 188 --title 测试软件 --program 'bin\app.exe' --version 1.0 --date 2024-05-01 \
  --description 测试用的小安装包 --output "$out/hosts/188.rar" > /dev/null
7z x -y -o"$out/by7z-188" "$out/hosts/188.rar" > /dev/null

big="$out/tree-big"
for folder in $(seq 1 30); do
  mkdir -p "$big/part$folder"
  for file in $(seq 1 100); do
    seq "$file" $((file + 3000)) > "$big/part$folder/file$file.txt"
  done
done
"$lzpack" pack "$big" --id big --title 大安装包 --extract-only --description 大安装包 \
  --output "$out/hosts/big.rar" > /dev/null

cp "$dll" "$out/hosts/7-zip32.dll"
