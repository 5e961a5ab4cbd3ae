#!/bin/sh
# The signing suite's keys and files:  MakeSignedFiles.sh LZPACK DLL OUTPUT_DIR
# hosts/ serves the package of tree/ and the library signed with the publisher's key (the
# installer's), tb.rar signed then one byte changed and us.rar unsigned;
# hosts-unsigned-library/ the package beside an unsigned library.
set -eu
lzpack=$1 dll=$2 out=$3
rm -rf "$out"
mkdir -p "$out/keys" "$out/hosts" "$out/hosts-unsigned-library"
openssl ecparam -name prime256v1 -genkey -noout -out "$out/keys/publisher.pem" 2>/dev/null
openssl ec -in "$out/keys/publisher.pem" -pubout -out "$out/keys/publisher.pub.pem" 2>/dev/null
tree="$out/tree"
mkdir -p "$tree/bin" "$tree/文档"
seq 1 5000 > "$tree/readme.txt"
head -c 100000 /dev/urandom > "$tree/bin/app.exe"
printf '签名\n' > "$tree/文档/说明.txt"
pack() {
  "$lzpack" pack "$tree" --id 188 --title 签名软件 --program 'bin\app.exe' --version 1.0 --date 2024-06-01 \
    --output "$@" > /dev/null
}
pack "$out/hosts/188.rar" --sign "$out/keys/publisher.pem"
pack "$out/hosts/us.rar"
cp "$out/hosts/188.rar" "$out/hosts/tb.rar"
# The byte there plus one: a fixed replacement would change nothing where the package already holds it.
byte=$(od -A n -t u1 -j 1000 -N 1 "$out/hosts/tb.rar" | tr -d ' ')
printf "\\$(printf '%03o' $(((byte + 1) % 256)))" | dd of="$out/hosts/tb.rar" bs=1 seek=1000 conv=notrunc 2> /dev/null

cp "$dll" "$out/hosts-unsigned-library/7-zip32.dll"
cp "$out/hosts/188.rar" "$out/hosts-unsigned-library/188.rar"
cp "$dll" "$out/hosts/7-zip32.dll"
"$lzpack" sign "$out/hosts/7-zip32.dll" --key "$out/keys/publisher.pem" > /dev/null
