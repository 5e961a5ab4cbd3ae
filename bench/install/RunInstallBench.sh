#!/usr/bin/env bash
# The installer's own end-to-end time under Wine against 7z x, on the same ~200 MiB package,
# and what checking signatures adds: the installer built with the signing suite's test key on
# the signed package and library, against the keyless installer on the unsigned ones.
#   bench/install/RunInstallBench.sh     (needs scripts/build.sh native and win32 first)
# BENCH_WINE_BUILD=win64 runs the 64-bit build of the same sources instead (scripts/build.sh win64
# -DPUBLISHER_KEY=none), where no 32-bit code runs; its figures say "64-bit stand-in".
# The installer downloads the package and 7-zip32.dll from the test hosts on 127.0.0.2/3:80,
# unpacks into a folder and reaches its finish page; 7z x unpacks the package natively.
# Prints the medians of the times, the ratio installer/7z and the ratio signed/unsigned
# (target <= 1.05).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/bench/common/Figures.sh"
arch=${BENCH_WINE_BUILD:-win32}
case $arch in
  win32) dist=$root/dist stand_in="" ;;
  win64) dist=$root/build/win64/dist stand_in=" (64-bit stand-in)" ;;
  *) echo "RunInstallBench.sh: BENCH_WINE_BUILD is win32 or win64" >&2; exit 2 ;;
esac
driver=$root/build/$arch/bench/install/install-bench-driver.exe
signed_installer=$root/build/$arch/tests/e2e/signing/installer-signed.exe
key=$root/build/$arch/tests/e2e/signing/data/keys/publisher.pem
export TEST_HOST_PROGRAM=${TEST_HOST_PROGRAM:-$root/build/native/tests/servers/test-host}
for needed in "$driver" "$TEST_HOST_PROGRAM" "$root/dist/lzpack" "$dist/installer.exe" "$dist/7-zip32.dll" \
  "$signed_installer" "$key"; do
  [ -e "$needed" ] || { echo "missing $needed: scripts/build.sh native && scripts/build.sh win32 -DPUBLISHER_KEY=none" >&2; exit 1; }
done
base=/tmp; [ -d /dev/shm ] && base=/dev/shm
work=$(mktemp -d "$base/install-bench.XXXXXX")
. "$root/scripts/lib/wine-session.sh"
trap 'wine_session_stop; rm -rf "$work"' EXIT

sh "$root/bench/lib/MakeMixedTree.sh" "$work/tree"
mkdir -p "$work/unsigned" "$work/signed"
"$root/dist/lzpack" pack "$work/tree" --id 188 --title 基准测试 --program 'bin\code.exe' \
  --output "$work/unsigned/188.rar" > /dev/null
cp "$dist/7-zip32.dll" "$work/unsigned/"
cp "$work/unsigned/"* "$work/signed/"
for file in "$work/signed/"*; do "$root/dist/lzpack" sign "$file" --key "$key" > /dev/null; done
echo "tree: $(du -sm "$work/tree" | cut -f1) MiB, package: $(du -sm "$work/unsigned/188.rar" | cut -f1) MiB"

wine_session_start "$work/wine" "$arch"
# install HOSTS INSTALLER: one installation's time in seconds, its files checked.
install() {
  rm -rf "$work/scratch"
  "$root/scripts/wine-run.sh" --hosts "$work/$1" --timeout 900 -- "$driver" \
    --installer="$2" --scratch="$work/scratch" > "$work/driver.out" || true
  local ms
  ms=$(tr -d '\r' < "$work/driver.out" | sed -n 's/^installer end to end: \([0-9]*\) ms.*/\1/p')
  [ -n "$ms" ] || { echo "the installer did not finish ($1)" >&2; return 1; }
  diff -r "$work/tree" "$work/scratch/target" > /dev/null || { echo "installed files differ ($1)" >&2; return 1; }
  echo "seconds $(awk "BEGIN { printf \"%.2f\", $ms / 1000 }")"
}
# 7z x: one unpacking's time in seconds.
unpack_7z() {
  /usr/bin/time -f %e -o "$work/7z-time" 7z x -y "-o$work/7z-out" "$work/unsigned/188.rar" > /dev/null
  rm -rf "$work/7z-out"
  echo "seconds $(cat "$work/7z-time")"
}
# Rounds that take each in turn (BENCH_INSTALL_ROUNDS, default 5), and the median of each, so
# that a busy moment of the shared machine falls on every side alike.
rounds=${BENCH_INSTALL_ROUNDS:-5}
for _ in $(seq "$rounds"); do
  field seconds "$(unpack_7z)" >> "$work/7z"
  field seconds "$(install unsigned "$dist/installer.exe" || true)" >> "$work/unsigned-s"
  field seconds "$(install signed "$signed_installer" || true)" >> "$work/signed-s"
done
theirs=$(median "$work/7z") unsigned_s=$(median "$work/unsigned-s") signed_s=$(median "$work/signed-s")
[ -n "$unsigned_s" ] && [ -n "$signed_s" ] || exit 1
echo "7z x: ${theirs} s, installer (download + unpack under Wine): ${unsigned_s} s, with signatures checked: ${signed_s} s"
# Each ratio is the median of the rounds' own ratios (see round_ratio).
installer_to_7z=$(round_ratio "$work/7z" "$work/unsigned-s")
[ -n "$installer_to_7z" ] || { echo "time ratio installer/7z$stand_in: not measured: no round with both"; exit 1; }
awk "BEGIN{printf \"time ratio installer/7z$stand_in: %.2f\n\", $installer_to_7z}"
ratio "installation with signatures checked/without$stand_in" "$signed_s" "$unsigned_s" s "the keyless installer, same package" "<= 1.05" \
  "$(round_ratio "$work/unsigned-s" "$work/signed-s")"
