#!/bin/sh
# The wizard's packages:  MakePackages.sh LZPACK LAUNCH_PROBE OUTPUT_DIR
# ordinary.7z's title has a space, so the folder handed to the program started does too.
set -eu
lzpack=$1 probe=$2 out=$3
rm -rf "$out"
mkdir -p "$out/ordinary/bin" "$out/extract-only"
cp "$probe" "$out/ordinary/bin/LaunchProbe.exe"
printf 'readme\n' > "$out/extract-only/readme.txt"
"$lzpack" pack "$out/ordinary" --id 188 --title "岚舟 画图" --program 'bin\LaunchProbe.exe' --version 2.1 \
  --date 2024-05-01 --description "一个画图工具" --output "$out/ordinary.7z" > /dev/null
"$lzpack" pack "$out/extract-only" --id 188 --title "素材包" --extract-only --description "素材合集" \
  --output "$out/extract-only.7z" > /dev/null
# The hosts' folder; each test serves the package it needs there as 188.rar.
mkdir -p "$out/hosts"
cp "$out/ordinary.7z" "$out/hosts/188.rar"
