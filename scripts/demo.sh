#!/usr/bin/env bash
# The whole road on this machine, in one command: makes a publisher key and a code-signing
# certificate, builds everything (the demo's template installer with that key), packs and signs
# our sample program as package 188, signs the library, serves both with nginx as both download
# hosts, signs the template with Authenticode, writes the per-package installers from it with
# lzpack copies (and lets it write the same under Wine), signs each with Authenticode, and walks
# lzin-188.exe through the wizard under Wine (download, welcome, folder, extraction, finish
# with shortcut and launch), saving a picture of every page to out/demo/screenshots/.
#   scripts/demo.sh           on your display when $DISPLAY works, else on a private one
#   scripts/demo.sh --check   on a private display; fails unless the installed files, the
#                             desktop shortcut and every picture are there (the tests run this)
# Leaves nothing running.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
check=0
[ "${1:-}" = --check ] && check=1

say() { echo "== $*"; }

say "installing dependencies"
"$root/scripts/install-deps.sh"
. "$root/scripts/lib/wait-for.sh"
. "$root/scripts/lib/wine-session.sh"
build=$(wine_build)
if [ -z "$build" ]; then
  echo "demo.sh: neither of Wine's loaders starts on this machine, so it cannot run the installer" >&2
  exit 1
fi
# The installers and the library under Wine: what we ship, or the 64-bit build of the same
# sources on a machine that runs no 32-bit code.
windows="$root/build/$build" library="$root/dist/7-zip32.dll"
[ "$build" = win32 ] || library="$windows/dist/7-zip32.dll"
# Made once and kept, so the installers need not be rebuilt on every run.
keys="$root/build/demo-key"
if [ ! -s "$keys/publisher.pub.pem" ]; then
  say "making the publisher's key pair in $keys"
  mkdir -p "$keys"
  (umask 077 && openssl ecparam -name prime256v1 -genkey -noout -out "$keys/publisher.pem")
  openssl ec -in "$keys/publisher.pem" -pubout -out "$keys/publisher.pub.pem" 2>/dev/null
fi
if [ ! -s "$keys/authenticode.crt" ]; then
  say "making a code-signing certificate in $keys (a publisher's comes from a certificate authority)"
  openssl req -x509 -newkey rsa:2048 -nodes -keyout "$keys/authenticode.key" -out "$keys/authenticode.crt" \
    -days 3650 -subj "/O=Demo publisher/CN=Demo publisher" -addext extendedKeyUsage=codeSigning 2>/dev/null
fi
authenticode() { osslsigncode sign -certs "$keys/authenticode.crt" -key "$keys/authenticode.key" -in "$1" -out "$2"; }
say "building"
SANITIZE="${SANITIZE:-0}" "$root/scripts/build.sh" native
# The demo's installers check its key; the plain ones of this build check nothing.
"$root/scripts/build.sh" "$build" -DPUBLISHER_KEY=none -DDEMO_PUBLISHER_KEY="$keys/publisher.pub.pem"

out="$root/out/demo"
rm -rf "$out"
mkdir -p "$out/source" "$out/dowfile" "$out/template" "$out/installers" "$out/screenshots"

say "packing the sample program as package 188, signed"
cp "$windows/demo/LzSample.exe" "$root/demo/sample/说明.txt" "$out/source/"
# Some data that does not compress, so that the download takes a moment.
head -c 400000 /dev/urandom >"$out/source/示例数据.bin"
"$root/dist/lzpack" pack "$out/source" --id 188 --title "岚舟示例程序" --program LzSample.exe \
  --version 1.0.0 --date 2026-12-06 --description "演示用的示例程序" --output "$out/188.7z" \
  --sign "$keys/publisher.pem" >"$out/lzpack.log"
cp "$out/188.7z" "$out/dowfile/188.rar"
cp "$library" "$out/dowfile/"
"$root/dist/lzpack" sign "$out/dowfile/7-zip32.dll" --key "$keys/publisher.pem" >>"$out/lzpack.log"
"$root/dist/lzpack" verify "$out/dowfile/188.rar" --key "$keys/publisher.pub.pem" >>"$out/lzpack.log"

. "$root/scripts/lib/nginx-hosts.sh"
stop_all() {
  wine_session_stop
  nginx_hosts_stop
}
trap stop_all EXIT
say "serving $out/dowfile as /dowfile/ on the two download hosts"
# Slow enough that the download page and its busy indicator can be seen.
nginx_hosts_start "$out/nginx" "$out/dowfile" 200k

if [ $check = 0 ] && [ -n "${DISPLAY:-}" ] && xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
  say "running on your display $DISPLAY"
  WINE_SESSION_DISPLAY=$DISPLAY wine_session_start "$root/build/demo-session" "$build"
else
  say "running on a private display"
  wine_session_start "$root/build/demo-session" "$build"
fi

say "signing the template (built with the key) with Authenticode; lzpack copies writes one installer per package from it"
authenticode "$windows/demo/demo-installer-template.exe" "$out/template/demo-installer-template.exe" >/dev/null
"$root/dist/lzpack" copies "$out/template/demo-installer-template.exe" --out "$out/copies" >>"$out/lzpack.log"

say "signing each installer with Authenticode, and checking it"
for copy in "$out/copies"/lzin-*.exe; do
  authenticode "$copy" "$out/installers/${copy##*/}" >/dev/null
  osslsigncode verify -CAfile "$keys/authenticode.crt" -in "$out/installers/${copy##*/}" >/dev/null
done
echo "   $(find "$out/installers" -name 'lzin-*.exe' | wc -l) signed installers in $out/installers"

say "the signed template writes the same installers under Wine"
wine "$out/template/demo-installer-template.exe" >/dev/null 2>&1 &
template_pid=$!
same_copies() {
  same=0
  for copy in "$out/copies"/lzin-*.exe; do
    cmp -s "$copy" "$out/template/${copy##*/}" && same=$((same + 1))
  done
  [ "$same" = 27 ]
}
wait_for 30 "$template_pid" same_copies || true
wineserver -k >/dev/null 2>&1 || true
wait "$template_pid" 2>/dev/null || true
echo "   $same of 27 written by the template under Wine are byte for byte lzpack's"

say "walking lzin-188.exe through the wizard"
# The driver speaks GBK, the terminal UTF-8.
folder_gbk=$(wine "$windows/demo/demo-driver.exe" "$out/installers/lzin-188.exe" "$out/screenshots" \
  2> >(iconv -f GBK -t UTF-8 >&2))
folder=$(printf '%s' "$folder_gbk" | tr -d '\r' | iconv -f GBK -t UTF-8)
unix_folder=$(winepath -u "$folder" 2>/dev/null)
desktop=$(winepath -u 'C:\users\'"$(id -un)"'\Desktop' 2>/dev/null || true)

say "installed into $folder"
echo "   ($unix_folder)"
ls -l "$unix_folder"
echo "   pictures of every page: $out/screenshots/"

if [ $check = 1 ]; then
  [ "$same" = 27 ] || { echo "demo: the template's copies differ from lzpack's" >&2; exit 1; }
  diff -r "$out/source" "$unix_folder" >/dev/null || { echo "demo: the installed files differ from the package" >&2; exit 1; }
  ls "$desktop"/*.lnk >/dev/null 2>&1 || { echo "demo: no shortcut on the desktop ($desktop)" >&2; exit 1; }
  for page in 1-download 2-welcome 3-folder 4-extraction 5-finish 6-started; do
    [ -s "$out/screenshots/$page.png" ] || { echo "demo: no picture of $page" >&2; exit 1; }
  done
  say "demo check passed"
fi
