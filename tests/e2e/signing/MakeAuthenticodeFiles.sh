#!/bin/sh
# The Authenticode files:  MakeAuthenticodeFiles.sh TEMPLATE LZPACK OUTPUT_DIR
# A test code-signing certificate; unsigned/ and signed/ each hold the template, unsigned or
# signed with it, and lzpack's copies of it; lzin-188-signed.exe is a copy signed again.
set -eu
template=$1 lzpack=$2 out=$3
rm -rf "$out"
mkdir -p "$out/unsigned" "$out/signed"
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$out/key.pem" -out "$out/cert.pem" -days 3650 \
  -subj /CN=Authenticode-test -addext extendedKeyUsage=codeSigning 2>/dev/null
sign() { osslsigncode sign -certs "$out/cert.pem" -key "$out/key.pem" -in "$1" -out "$2" > /dev/null; }
cp "$template" "$out/unsigned/installer-template.exe"
sign "$template" "$out/signed/installer-template.exe"
for kind in unsigned signed; do
  "$lzpack" copies "$out/$kind/installer-template.exe" --out "$out/$kind/copies" > /dev/null
done
sign "$out/signed/copies/lzin-188.exe" "$out/lzin-188-signed.exe"
