#!/bin/sh
# CheckAuthenticodeCopies.sh DIR (as MakeAuthenticodeFiles.sh left it): the signed template
# verifies, each of its 27 copies carries no signature and a right checksum, where the
# template's would say MISMATCH, and a copy signed again verifies.
set -u
dir=$1 unsigned=0
verify() { osslsigncode verify -CAfile "$dir/cert.pem" -in "$1" 2>&1; }
for file in signed/installer-template.exe lzin-188-signed.exe; do
  verify "$dir/$file" > /dev/null || { echo "$file does not verify"; exit 1; }
done
for copy in "$dir"/signed/copies/lzin-*.exe; do
  said=$(verify "$copy")
  case $said in
    *MISMATCH* | *"invalid PE checksum"*) echo "$copy: $said" ;;
    *"No signature found"*) unsigned=$((unsigned + 1)) ;;
  esac
done
[ "$unsigned" = 27 ] || { echo "$unsigned of the copies are unsigned, not 27"; exit 1; }
