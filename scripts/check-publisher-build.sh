#!/usr/bin/env bash
# The publisher's key pair and build exactly as README.md gives them, run in a clone of this
# commit that has nothing a fresh clone would not have (no native build, no dist/): it must work
# on its own, leave the private key readable by its owner only and put the configured hosts and
# the public key into dist/installer.exe. The clone keeps its build folder between runs, so
# after the first run only what changed is built; build/win32 is not touched.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
clone="$root/build/publisher-clone"

command=$(grep -m1 -E '^\./scripts/build\.sh win32 -DDOWNLOAD_HOST_1=.* -DPUBLISHER_KEY=publisher\.pub\.pem' "$root/README.md") ||
  { echo "check-publisher-build.sh: README.md shows no publisher build command with a key" >&2; exit 1; }
key_commands=$(grep -E '^\(?(umask 077 && )?openssl (ecparam|ec -in)' "$root/README.md")
[ "$(wc -l <<<"$key_commands")" = 2 ] ||
  { echo "check-publisher-build.sh: README.md shows no key pair commands" >&2; exit 1; }
[ -d "$clone/.git" ] || git clone --quiet --no-checkout "$root" "$clone"
git -C "$clone" fetch --quiet "$root" HEAD
git -C "$clone" checkout --quiet --force FETCH_HEAD
git -C "$clone" clean -fdxq -e /build/
find "$clone/build" -mindepth 1 -maxdepth 1 ! -name win32 -exec rm -rf {} + 2>/dev/null || true

rm -f "$clone/publisher.pem" "$clone/publisher.pub.pem"
(cd "$clone" && eval "$key_commands" 2>/dev/null && eval "$command")
[ "$(stat -c %a "$clone/publisher.pem")" = 600 ] ||
  { echo "check-publisher-build.sh: others may read the private key the README makes" >&2; exit 1; }

host=$(sed -E 's/.*-DDOWNLOAD_HOST_1=([^ ]+).*/\1/' <<<"$command")
for artifact in installer.exe installer-template.exe 7-zip32.dll lzpack lzpack.exe; do
  [ -s "$clone/dist/$artifact" ] || { echo "check-publisher-build.sh: dist/$artifact is missing" >&2; exit 1; }
done
grep -qaF "$host" "$clone/dist/installer.exe" ||
  { echo "check-publisher-build.sh: dist/installer.exe does not name $host" >&2; exit 1; }
# The key's point X is built in as its 32 bytes.
openssl ec -pubin -in "$clone/publisher.pub.pem" -outform DER 2>/dev/null | tail -c 64 | head -c 32 >"$clone/key-x.bin"
python3 -c 'import sys; sys.exit(open(sys.argv[2], "rb").read() not in open(sys.argv[1], "rb").read())' \
  "$clone/dist/installer.exe" "$clone/key-x.bin" ||
  { echo "check-publisher-build.sh: dist/installer.exe does not hold the publisher's key" >&2; exit 1; }
# Without a key the configuration stops and names both choices.
if cmake -S "$clone" -B "$clone/build/no-key" -DCMAKE_TOOLCHAIN_FILE="$clone/cmake/mingw-i686.cmake" \
    >"$clone/build/no-key.log" 2>&1 ||
  ! grep -q 'DPUBLISHER_KEY=<your public key PEM>' "$clone/build/no-key.log" ||
  ! grep -q 'DPUBLISHER_KEY=none' "$clone/build/no-key.log"; then
  echo "check-publisher-build.sh: configuring without PUBLISHER_KEY does not stop with both choices" >&2; exit 1
fi
rm -rf "$clone/build/no-key" "$clone/build/no-key.log"
echo "publisher build passed"
