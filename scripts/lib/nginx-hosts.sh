# Sourced. Real download hosts: Debian's nginx (nginx-light) serving a folder as /dowfile/ on
# the two loopback hosts of the default build, 127.0.0.2:80 and 127.0.0.3:80, byte ranges on.
#   nginx_hosts_start WORK_DIR SERVED_DIR [RATE]
#                                           config, pid file, logs and temp files go to WORK_DIR;
#                                           http://127.0.0.2/dowfile/NAME is SERVED_DIR/NAME;
#                                           RATE (nginx limit_rate, e.g. 24k) slows each answer
#   nginx_hosts_stop                        ends that nginx and gives the hosts back
# The hosts are machine-wide: while serving, this holds the lock that scripts/wine-run.sh takes
# for them (waiting up to NGINX_HOSTS_LOCK_WAIT seconds, default 900). No system configuration
# is read or written. Binding port 80 needs root.

. "$(dirname "${BASH_SOURCE[0]}")/wait-for.sh"

nginx_hosts_lock_file=/tmp/lzinstaller-test-hosts.lock
nginx_hosts_pid=""
nginx_hosts_lock_fd=""

nginx_hosts_start() {
  local work=$1 served=$2 rate=${3:-0}
  [ -n "$work" ] && [ -d "$served" ] || { echo "nginx_hosts_start WORK_DIR SERVED_DIR" >&2; return 2; }
  [ -z "$nginx_hosts_pid" ] || { echo "nginx_hosts_start: already serving" >&2; return 1; }
  work=$(mkdir -p "$work" && cd "$work" && pwd)
  served=$(cd "$served" && pwd)
  mkdir -p "$work/temp" "$work/logs"

  exec {nginx_hosts_lock_fd}>"$nginx_hosts_lock_file"
  if ! flock -w "${NGINX_HOSTS_LOCK_WAIT:-900}" "$nginx_hosts_lock_fd"; then
    echo "nginx_hosts_start: the download hosts stayed busy" >&2
    nginx_hosts_release_lock
    return 1
  fi

  nginx_config "$work" "
  server {
    listen 127.0.0.2:80;
    listen 127.0.0.3:80;
    location /dowfile/ { alias $served/; limit_rate $rate; }
    location / { return 404; }
  }" >"$work/nginx.conf"
  # The lock stays with this shell, not with nginx.
  nginx -p "$work" -c "$work/nginx.conf" {nginx_hosts_lock_fd}>&- 2>>"$work/logs/error.log" &
  nginx_hosts_pid=$!
  if ! wait_for 5 "$nginx_hosts_pid" nginx_hosts_answer; then
    echo "nginx_hosts_start: nginx did not start:" >&2
    cat "$work/logs/error.log" >&2
    nginx_hosts_stop
    return 1
  fi
}

# nginx_config WORK_DIR SERVERS: a whole configuration for nginx -p WORK_DIR, the given server
# blocks in its http block. Workers run as the caller, so that a private (mode 700) folder can
# be served.
nginx_config() {
  cat <<CONF
daemon off;
master_process on;
worker_processes 1;
$([ "$(id -u)" -eq 0 ] && echo "user root;")
pid $1/nginx.pid;
error_log $1/logs/error.log;
events { worker_connections 64; }
http {
  access_log $1/logs/access.log;
  sendfile on;
  default_type application/octet-stream;
  client_body_temp_path $1/temp/body;
  proxy_temp_path $1/temp/proxy;
  fastcgi_temp_path $1/temp/fastcgi;
  uwsgi_temp_path $1/temp/uwsgi;
  scgi_temp_path $1/temp/scgi;
$2
}
CONF
}

nginx_hosts_answer() {
  curl -s -o /dev/null --max-time 1 http://127.0.0.2/ && curl -s -o /dev/null --max-time 1 http://127.0.0.3/
}

nginx_ended() { ! kill -0 "$1" 2>/dev/null; }

# nginx_end PID: ends the nginx started as PID (a child of this shell).
nginx_end() {
  # QUIT lets the workers finish; TERM after a grace period in case a client hangs on.
  kill -QUIT "$1" 2>/dev/null || true
  wait_for 3 "" nginx_ended "$1" || true
  kill -TERM "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}

nginx_hosts_stop() {
  if [ -n "$nginx_hosts_pid" ]; then
    nginx_end "$nginx_hosts_pid"
    nginx_hosts_pid=""
  fi
  nginx_hosts_release_lock
}

nginx_hosts_release_lock() {
  if [ -n "$nginx_hosts_lock_fd" ]; then
    exec {nginx_hosts_lock_fd}>&-
    nginx_hosts_lock_fd=""
  fi
}
