#!/usr/bin/env bash
# CPU used by the installer while its download stalls (the test host's stall option), so that
# only the busy indicator runs: against a budget of 2.5 % of one core, averaged over a few
# seconds. Measured from Linux: Wine reports no CPU times of other processes.
# Usage: bench/wine/StalledCpu.sh [INSTALLER]   (default dist/installer.exe; needs build/win32
# built, and TEST_HOST_PROGRAM or the test host of build/bench or build/native; uses the Wine
# session of the caller, or starts one of its own). Needs root for port 80.
# BENCH_WINE_BUILD=win64 (with the 64-bit installer given) measures the 64-bit stand-in.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/bench/common/Figures.sh"
. "$root/scripts/lib/wine-session.sh"

installer=$(realpath "${1:-$root/dist/installer.exe}")
wine_arch=${BENCH_WINE_BUILD:-win32}
stand_in=""
[ "$wine_arch" = win32 ] || stand_in=" (64-bit stand-in)"
driver="$root/build/$wine_arch/bench/wine/bench-driver.exe"
if [ -z "${TEST_HOST_PROGRAM:-}" ]; then
  for build in bench native; do
    [ -x "$root/build/$build/tests/servers/test-host" ] && export TEST_HOST_PROGRAM="$root/build/$build/tests/servers/test-host" && break
  done
fi
: "${TEST_HOST_PROGRAM:?no test host built: scripts/build.sh bench}"
# Seconds the CPU time is summed over, after the indicator has settled.
measure_s=${STALLED_CPU_SECONDS:-4}

work=$(mktemp -d /tmp/bench-stalled.XXXXXX)
own_session=0
cleanup() {
  [ "$own_session" = 0 ] || wine_session_stop
  rm -rf "$work"
}
trap cleanup EXIT
if [ -z "${WINE_SESSION_DIR:-}" ]; then
  own_session=1
  wine_session_start "$work/wine" "$wine_arch" >/dev/null
fi

mkdir -p "$work/www" "$work/temp"
head -c $((1 << 20)) /dev/urandom >"$work/www/188.rar"
out="$work/driver.out"
"$root/scripts/wine-run.sh" --timeout 150 --hosts "$work/www" -- \
  "$driver" stalled "$installer" "$work/temp" $(((measure_s + 5) * 1000)) >"$out" 2>>"$work/wine.log" &
driver_pid=$!
cpu=""
# The hosts may be busy with a test run first; the driver says when the installer waits.
if until_line window_shown "$out" 960 "$driver_pid"; then
  sleep 2
  # Wine names the process by its Windows path.
  process=$(ps -eo pid=,args= | windows_path="Z:${installer//\//\\}" awk '$2 == ENVIRON["windows_path"] && !found { print $1; found = 1 }')
  if [ -n "$process" ]; then
    before=$(awk '{ print $14 + $15 }' "/proc/$process/stat")
    sleep "$measure_s"
    after=$(awk '{ print $14 + $15 }' "/proc/$process/stat" 2>/dev/null || true)
    [ -z "$after" ] || cpu=$(awk "BEGIN { print 100 * ($after - $before) / $(getconf CLK_TCK) / $measure_s }")
  fi
fi
wait "$driver_pid" || true
if [ -n "$cpu" ]; then
  ratio "CPU while the download stalls (busy indicator)$stand_in" "$cpu" 2.5 "% of a core" "budget" "<= 1.00"
else
  echo "CPU while the download stalls (busy indicator)$stand_in: not measured: the installer was not seen waiting ($(head -c 200 "$out"))"
fi
