#!/usr/bin/env bash
# Runs one Windows program under the Wine session of scripts/lib/wine-session.sh, after
# setting the prefix up as asked, and ends every process of the prefix afterwards.
#   wine-run.sh [--dpi 96|120|144] [--drive-d] [--hosts DIR] [--names FILE] [--proxy] [--tls]
#               [--locale LL_CC.UTF-8] [--timeout SECONDS] -- program.exe [args...]
# --hosts DIR serves DIR from the test download host ($TEST_HOST_PROGRAM) on 127.0.0.2:80,
# 127.0.0.3:80 and [::1]:80 while the program runs. --names FILE adds the lines of FILE to
# /etc/hosts for this run alone: it goes on in a mount namespace of its own, servers started
# here included (the machine's file stays as it is). --proxy runs tinyproxy on 127.0.0.1:8899
# meanwhile. --tls (with --hosts and --names) runs the TLS hosts of scripts/lib/tls-hosts.sh,
# and the program trusts their test root through its own view of
# /etc/ssl/certs/ca-certificates.crt. --locale runs the program in that locale (its code page:
# en_US 1252, zh_TW 950, ja_JP 932) instead of the session's.
set -euo pipefail
. "$(dirname "$0")/lib/wait-for.sh"
. "$(dirname "$0")/lib/tinyproxy.sh"
. "$(dirname "$0")/lib/tls-hosts.sh"

arguments=("$@")
dpi=96 drive_d=0 timeout_s=120 hosts_dir="" names="" proxy=0 tls=0 locale=""
while [ $# -gt 0 ]; do
  case $1 in
    --dpi) dpi=$2; shift 2 ;;
    --drive-d) drive_d=1; shift ;;
    --hosts) hosts_dir=$2; shift 2 ;;
    --names) names=$2; shift 2 ;;
    --proxy) proxy=1; shift ;;
    --tls) tls=1; shift ;;
    --locale) locale=$2; shift 2 ;;
    --timeout) timeout_s=$2; shift 2 ;;
    --) shift; break ;;
    *) echo "wine-run.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
[ $# -gt 0 ] || { echo "wine-run.sh: no program given" >&2; exit 2; }
: "${WINEPREFIX:?wine-run.sh needs the Wine session of scripts/lib/wine-session.sh}"
: "${DISPLAY:?wine-run.sh needs the display of that session}"
# The proxy resolves the tunnels' names as the program does: both see the same view.
if [ -n "$names" ] && [ -z "${WINE_RUN_VIEW:-}" ]; then
  WINE_RUN_VIEW=1 exec unshare -m "$0" "${arguments[@]}"
fi
if [ -n "$names" ]; then
  cat "$names" /etc/hosts >"$WINE_SESSION_DIR/hosts"
  mount --bind "$WINE_SESSION_DIR/hosts" /etc/hosts
fi

wineserver -k >/dev/null 2>&1 || true
wineserver -w
# Wine takes the code page from the locale its processes start in; the server restarts below.
if [ -n "$locale" ]; then
  locale -a | grep -qix "${locale/UTF-8/utf8}" || { echo "wine-run.sh: locale $locale is not generated" >&2; exit 1; }
  export LANG=$locale LC_ALL=$locale
fi
if [ "$dpi" = 96 ]; then
  wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true
else
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
fi
# A new process sees the DPI only after the prefix's processes have ended.
wineserver -k >/dev/null 2>&1 || true
wineserver -w

drive_link="$WINEPREFIX/dosdevices/d:"
rm -f "$drive_link"
if [ "$drive_d" = 1 ]; then
  drive_root="$WINE_SESSION_DIR/drive-d"
  rm -rf "$drive_root"
  mkdir -p "$drive_root"
  ln -s "$drive_root" "$drive_link"
fi

host_pid=""
stop_hosts() {
  tinyproxy_stop
  tls_hosts_stop
  if [ -n "$host_pid" ]; then
    kill "$host_pid" 2>/dev/null || true
    wait "$host_pid" 2>/dev/null || true
  fi
}
trap stop_hosts EXIT
if [ -n "$hosts_dir" ]; then
  : "${TEST_HOST_PROGRAM:?wine-run.sh --hosts needs TEST_HOST_PROGRAM (the native test-host)}"
  # The two loopback hosts are machine-wide: runs that need them take turns.
  exec 9>/tmp/lzinstaller-test-hosts.lock
  flock -w 900 9 || { echo "wine-run.sh: the download hosts stayed busy" >&2; exit 1; }
  host_log="$WINE_SESSION_DIR/test-host.out"
  "$TEST_HOST_PROGRAM" --root "$hosts_dir" --listen 127.0.0.2:80 --listen 127.0.0.3:80 --listen '[::1]:80' \
    >"$host_log" 2>&1 &
  host_pid=$!
  if ! wait_for 5 "$host_pid" grep -qx ready "$host_log"; then
    echo "wine-run.sh: the test host did not start:" >&2
    cat "$host_log" >&2
    exit 1
  fi
fi

if [ "$proxy" = 1 ]; then
  tinyproxy_start "$WINE_SESSION_DIR/tinyproxy" 8899 || exit 1
fi
if [ "$tls" = 1 ]; then
  tls_hosts_start "$WINE_SESSION_DIR/tls" || exit 1
  # The trust store is read by the Wine processes themselves, so the view applies to them.
  [ -z "$names" ] || mount --bind "$WINE_SESSION_DIR/tls/bundle.crt" /etc/ssl/certs/ca-certificates.crt
fi

status=0
timeout -k 10 "$timeout_s" wine "$@" || status=$?
wineserver -k >/dev/null 2>&1 || true
rm -f "$drive_link"
[ $status -ne 124 ] || echo "wine-run.sh: $1 did not finish within $timeout_s s" >&2
exit $status
