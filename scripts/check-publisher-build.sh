#!/usr/bin/env bash
# The publisher's build exactly as README.md gives it, run in a clone of this commit that has
# nothing a fresh clone would not have (no native build, no dist/): it must work on its own and
# put the configured hosts into dist/installer.exe. The clone keeps its build folder between
# runs, so after the first run only what changed is built; build/win32 is not touched.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
clone="$root/build/publisher-clone"

command=$(grep -m1 -E '^\./scripts/build\.sh win32 -DDOWNLOAD_HOST_1=' "$root/README.md") ||
  { echo "check-publisher-build.sh: README.md shows no publisher build command" >&2; exit 1; }
[ -d "$clone/.git" ] || git clone --quiet --no-checkout "$root" "$clone"
git -C "$clone" fetch --quiet "$root" HEAD
git -C "$clone" checkout --quiet --force FETCH_HEAD
git -C "$clone" clean -fdxq -e /build/
find "$clone/build" -mindepth 1 -maxdepth 1 ! -name win32 -exec rm -rf {} + 2>/dev/null || true

(cd "$clone" && eval "$command")

host=$(sed -E 's/.*-DDOWNLOAD_HOST_1=([^ ]+).*/\1/' <<<"$command")
for artifact in installer.exe installer-template.exe 7-zip32.dll lzpack lzpack.exe; do
  [ -s "$clone/dist/$artifact" ] || { echo "check-publisher-build.sh: dist/$artifact is missing" >&2; exit 1; }
done
grep -qaF "$host" "$clone/dist/installer.exe" ||
  { echo "check-publisher-build.sh: dist/installer.exe does not name $host" >&2; exit 1; }
echo "publisher build passed"
