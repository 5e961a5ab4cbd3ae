#!/usr/bin/env bash
# The installer's own end-to-end time under Wine against 7z x, on the same ~200 MiB package.
#   bench/install/RunInstallBench.sh     (needs scripts/build.sh native and win32 first)
# The installer downloads the package and 7-zip32.dll from the test hosts on 127.0.0.2/3:80,
# unpacks into a folder and reaches its finish page; 7z x unpacks the package natively.
# Prints both times and the ratio installer/7z.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
driver=$root/build/win32/bench/install/install-bench-driver.exe
export TEST_HOST_PROGRAM=$root/build/native/tests/servers/test-host
for needed in "$driver" "$TEST_HOST_PROGRAM" "$root/dist/lzpack" "$root/dist/installer.exe" "$root/dist/7-zip32.dll"; do
  [ -e "$needed" ] || { echo "missing $needed: scripts/build.sh native && scripts/build.sh win32" >&2; exit 1; }
done
base=/tmp; [ -d /dev/shm ] && base=/dev/shm
work=$(mktemp -d "$base/install-bench.XXXXXX")
. "$root/scripts/lib/wine-session.sh"
trap 'wine_session_stop; rm -rf "$work"' EXIT

sh "$root/bench/lib/MakeMixedTree.sh" "$work/tree"
mkdir -p "$work/hosts"
"$root/dist/lzpack" pack "$work/tree" --id 188 --title 基准测试 --program 'bin\code.exe' \
  --output "$work/hosts/188.rar" > /dev/null
cp "$root/dist/7-zip32.dll" "$work/hosts/"
echo "tree: $(du -sm "$work/tree" | cut -f1) MiB, package: $(du -sm "$work/hosts/188.rar" | cut -f1) MiB"

/usr/bin/time -f %e -o "$work/7z-time" 7z x -y "-o$work/7z-out" "$work/hosts/188.rar" > /dev/null
theirs=$(cat "$work/7z-time")
rm -rf "$work/7z-out"

wine_session_start "$work/wine"
"$root/scripts/wine-run.sh" --hosts "$work/hosts" --timeout 900 -- "$driver" \
  --installer="$root/dist/installer.exe" --scratch="$work/scratch" | tee "$work/driver.out"
ms=$(sed -n 's/^installer end to end: \([0-9]*\) ms.*/\1/p' "$work/driver.out")
[ -n "$ms" ] || { echo "the installer did not finish" >&2; exit 1; }
diff -r "$work/tree" "$work/scratch/target" > /dev/null || { echo "installed files differ from the tree" >&2; exit 1; }
ours=$(awk "BEGIN{printf \"%.2f\", $ms / 1000}")
echo "7z x: ${theirs} s, installer (download + unpack under Wine): ${ours} s"
awk "BEGIN{printf \"time ratio installer/7z: %.2f\n\", $ours / $theirs}"
