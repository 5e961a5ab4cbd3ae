#!/bin/sh
# The download suite's files:  MakePackages.sh OUTPUT_DIR
# 188.rar (served for 188.7z) has 200 KiB and an information block, noblock.7z none; 99.rar is
# the same package for the installer copies that fetch 99.7z.
set -eu
out=$1
mkdir -p "$out"
block() {
  printf '[岚舟软件安装包文件信息]\r\nID=188\r\n名称=下载测试\r\n文件名=Test.exe\r\n版本号=1.0\r\n日期=2026-01-01\r\n说明=测试用的包\r\n' |
    iconv -f UTF-8 -t GBK
}
{ head -c 204000 /dev/zero | tr '\0' 'Z'; block; } > "$out/188.rar"
cp "$out/188.rar" "$out/99.rar"
head -c 3000 /dev/zero | tr '\0' 'Z' > "$out/noblock.7z"
