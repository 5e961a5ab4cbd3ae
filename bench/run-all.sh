#!/usr/bin/env bash
# Every benchmark in one run (a few minutes), each figure printed as a ratio against a peer
# measured in the same run or against its budget:
#   - installer file size (dist/installer.exe, pictures and icons included) against 128 KiB
#   - download throughput of the native client against curl (bench/download/run.sh) and its
#     peak memory for two file sizes
#   - extraction speed and peak memory of sevenzip_core against 7z x -mmt=1, per coder family,
#     the same archives through 7-zip32.dll under Wine against it, and its peak memory
#     unpacking one large file (bench/extract/RunExtractBench.sh)
#   - under Wine, with nginx as the two download hosts (scripts/lib/nginx-hosts.sh): the
#     installer's time from start until a 256 MiB package is in its TEMP, against curl
#     fetching the same URL, directly and both through tinyproxy (the user's manual proxy), and
#     its peak working set meanwhile against the minimal window's; over HTTPS (nginx's TLS in
#     front of the same host, scripts/lib/tls-hosts.sh), against its own plain HTTP and
#     against curl over the same HTTPS
#   - under Wine: time from start until Form1 shows, against a minimal Win32 window program
#     built the same way (bench/wine)
#   - under Wine: a whole installation of a ~200 MiB package against 7z x, and the same
#     installation with signatures checked against it without (bench/install/RunInstallBench.sh)
#   - under Wine: CPU used by the installer while its download stalls (the test host's stall
#     option), against a budget of 2.5 % of one core (bench/wine/StalledCpu.sh, which runs alone too)
# Usage: bench/run-all.sh   (builds build/bench and build/win32 first; needs root for port 80)
# The Wine figures are those of the 32-bit program we ship. Where this machine runs no 32-bit
# code, BENCH_WINE_BUILD=win64 measures the 64-bit build of the same sources as a stand-in
# instead: every such figure says "64-bit stand-in".
# Only loopback addresses are used; the two download hosts are taken in turn with the tests.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/bench/common/Figures.sh"
. "$root/scripts/lib/nginx-hosts.sh"
. "$root/scripts/lib/wine-session.sh"
. "$root/scripts/lib/tinyproxy.sh"
. "$root/scripts/lib/tls-hosts.sh"

wine_arch=${BENCH_WINE_BUILD:-win32}
case $wine_arch in
  win32) installer="$root/dist/installer.exe" stand_in="" ;;
  win64) installer="$root/build/win64/dist/installer.exe" stand_in=" (64-bit stand-in)" ;;
  *) echo "run-all.sh: BENCH_WINE_BUILD is win32 or win64" >&2; exit 2 ;;
esac
echo "== building (scripts/build.sh bench, win32${stand_in:+, win64})"
"$root/scripts/build.sh" bench
"$root/scripts/build.sh" win32 -DPUBLISHER_KEY=none
[ -z "$stand_in" ] || "$root/scripts/build.sh" win64 -DPUBLISHER_KEY=none
driver="$root/build/$wine_arch/bench/wine/bench-driver.exe"
minimal="$root/build/$wine_arch/bench/wine/minimal-window.exe"
https_installer="$root/build/$wine_arch/bench/wine/installer-https-bench.exe"
export TEST_HOST_PROGRAM="$root/build/bench/tests/servers/test-host"

work=$(mktemp -d /tmp/bench-all.XXXXXX)
cleanup() {
  tls_hosts_stop
  tinyproxy_stop
  nginx_hosts_stop
  wine_session_stop
  rm -rf "$work"
}
trap cleanup EXIT

echo "== installer size"
# Always the 32-bit program we ship: the 64-bit stand-in's code is larger and is not shipped.
size=$(stat -c %s "$root/dist/installer.exe")
ratio "installer size" "$(awk "BEGIN { print $size / 1024 }")" 128 KiB "budget" "<= 1.00"

echo "== native download client (bench/download/run.sh)"
BENCH_BUILT=1 "$root/bench/download/run.sh"

echo "== extraction (bench/extract/RunExtractBench.sh)"
BENCH_WINE_BUILD=$wine_arch "$root/bench/extract/RunExtractBench.sh" "$root/build/bench"

echo "== under Wine"
if [ "$(wine_build)" != win32 ] && [ -z "$stand_in" ]; then
  echo "under Wine: not measured: this machine cannot start 32-bit programs (its kernel runs no IA-32 code);"
  echo "  BENCH_WINE_BUILD=win64 measures the 64-bit build as a stand-in"
  exit 0
fi
wine_session_start "$work/wine" "$wine_arch" >/dev/null
# One driver run in the session, its prefix set up afresh and ended afterwards.
wine_log="$root/build/bench-wine.log"
: >"$wine_log"
wine_driver() { "$root/scripts/wine-run.sh" --timeout 150 "$@" 2>>"$wine_log"; }
fresh_temp() { mktemp -d "$work/temp.XXXXXX"; }

first_window() { wine_driver -- "$driver" first-window "$1" "$(fresh_temp)"; }
minimal_line=$(first_window "$minimal" || true)
minimal_ms=$(best_of 3 first_window_ms first_window "$minimal")
installer_ms=$(best_of 3 first_window_ms first_window "$installer")
ratio "time to first window, installer/minimal$stand_in" "$installer_ms" "$minimal_ms" ms "minimal Win32 window" "as low as it goes; ~1 means nothing slow at start"

# The package is the installer's marker file under its remote name.
mkdir -p "$work/www"
head -c $((256 << 20)) /dev/urandom >"$work/www/188.rar"
nginx_hosts_start "$work/nginx" "$work/www"
curl_once() {
  rm -f "$work/curl.out"
  /usr/bin/time -f "seconds %e" curl -sf -o "$work/curl.out" http://127.0.0.2/dowfile/188.rar 2>&1
}
curl_s=$(median_of 3 seconds curl_once)
rm -f "$work/curl.out"
download_once() {
  local temp line
  temp=$(fresh_temp)
  line=$(wine_driver "${tls_options[@]}" -- "$driver" download "${1:-$installer}" "$temp" 188.7z) || true
  # The installer downloads into a folder of its own in TEMP (lzin-...).
  cmp -s "$temp"/lzin-*/188.7z "$work/www/188.rar" || line="package differs"
  rm -rf "$temp"
  echo "$line" | tee -a "$work/downloads"
}
tls_options=()
installer_download_ms=$(median_of 3 download_ms download_once)

# The same through a real proxy server: curl told so, the installer by the prefix's settings.
proxy_port=8899
tinyproxy_start "$work/tinyproxy" $proxy_port
settings='HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings'
wine reg add "$settings" /v ProxyEnable /t REG_DWORD /d 1 /f >/dev/null 2>&1
wine reg add "$settings" /v ProxyServer /t REG_SZ /d "127.0.0.1:$proxy_port" /f >/dev/null 2>&1
curl_once() {
  rm -f "$work/curl.out"
  /usr/bin/time -f "seconds %e" curl -sf -x "http://127.0.0.1:$proxy_port" -o "$work/curl.out" http://127.0.0.2/dowfile/188.rar 2>&1
}
proxy_curl_s=$(median_of 3 seconds curl_once)
rm -f "$work/curl.out"
proxy_download_ms=$(median_of 3 download_ms download_once)
wine reg add "$settings" /v ProxyEnable /t REG_DWORD /d 0 /f >/dev/null 2>&1
tinyproxy_stop

# Over HTTPS: good.test is nginx's TLS in front of the same host; the installer runs with the
# test root trusted and the name resolved in its own view (scripts/wine-run.sh --tls).
tls_hosts_start "$work/tls"
curl_once() {
  rm -f "$work/curl.out"
  /usr/bin/time -f "seconds %e" curl -sf --cacert "$work/tls/root.pem" --resolve good.test:443:127.0.0.2 \
    -o "$work/curl.out" https://good.test/dowfile/188.rar 2>&1
}
https_curl_s=$(median_of 3 seconds curl_once)
rm -f "$work/curl.out"
tls_hosts_stop
echo "127.0.0.2 good.test" >"$work/tls.hosts"
tls_options=(--names "$work/tls.hosts" --tls)
https_download_ms=$(median_of 3 download_ms download_once "$https_installer")
nginx_hosts_stop

seconds_of() { [ -z "$1" ] || awk "BEGIN { print $1 / 1000 }"; }
mib_per_s() { [ -z "$1" ] || awk "BEGIN { print 256 / $1 }"; }
# Each download figure is the median of three runs.
ratio "download 256 MiB under Wine, installer (from its start)/curl$stand_in" "$(mib_per_s "$(seconds_of "$installer_download_ms")")" \
  "$(mib_per_s "$curl_s")" MiB/s "curl on the same URL" ">= 0.9"
ratio "the same through tinyproxy, installer/curl$stand_in" "$(mib_per_s "$(seconds_of "$proxy_download_ms")")" \
  "$(mib_per_s "$proxy_curl_s")" MiB/s "curl through the same proxy" ">= 0.9"
ratio "the same over HTTPS, installer/its plain HTTP$stand_in" "$(mib_per_s "$(seconds_of "$https_download_ms")")" \
  "$(mib_per_s "$(seconds_of "$installer_download_ms")")" MiB/s "the installer over plain HTTP" ">= 0.5"
ratio "over HTTPS, installer/curl$stand_in" "$(mib_per_s "$(seconds_of "$https_download_ms")")" \
  "$(mib_per_s "$https_curl_s")" MiB/s "curl over the same HTTPS" ""
peak=$(tr -d '\r' <"$work/downloads" |
  awk '{ for (i = 1; i < NF; i++) if ($i == "peak_working_set_kib" && $(i + 1) + 0 > m) m = $(i + 1) + 0 } END { print m }')
ratio "installer peak working set during the download/minimal window's$stand_in" "$peak" \
  "$(field peak_working_set_kib "$minimal_line")" KiB "minimal Win32 window" "small; it must not grow with the package"

echo "== installation (bench/install/RunInstallBench.sh)"
BENCH_WINE_BUILD=$wine_arch "$root/bench/install/RunInstallBench.sh"

# The busy indicator's cost: the test host stalls every body, the installer waits.
BENCH_WINE_BUILD=$wine_arch "$root/bench/wine/StalledCpu.sh" "$installer"
