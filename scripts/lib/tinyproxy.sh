# Sourced. A real proxy server for the tests and benchmarks: Debian's tinyproxy on loopback.
#   tinyproxy_start WORK_DIR PORT   config and log go to WORK_DIR; listens on 127.0.0.1:PORT
#   tinyproxy_stop                  ends it
# Its connections to servers come from 127.0.0.7, so that a server can tell them from direct
# ones. No system configuration is read or written.

. "$(dirname "${BASH_SOURCE[0]}")/wait-for.sh"

tinyproxy_pid=""

tinyproxy_start() {
  local work=$1 port=$2
  mkdir -p "$work"
  # It will not run as root; the user it drops to only needs the loopback.
  cat >"$work/tinyproxy.conf" <<CONF
User nobody
Group nogroup
Port $port
Listen 127.0.0.1
Bind 127.0.0.7
Timeout 60
MaxClients 20
LogLevel Error
CONF
  /usr/bin/tinyproxy -d -c "$work/tinyproxy.conf" >"$work/tinyproxy.log" 2>&1 &
  tinyproxy_pid=$!
  wait_for_listener 5 "$tinyproxy_pid" 127.0.0.1 "$port" tinyproxy "$work/tinyproxy.log" || { tinyproxy_stop; return 1; }
}

tinyproxy_stop() {
  [ -n "$tinyproxy_pid" ] || return 0
  kill "$tinyproxy_pid" 2>/dev/null || true
  wait "$tinyproxy_pid" 2>/dev/null || true
  tinyproxy_pid=""
}
