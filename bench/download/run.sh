#!/usr/bin/env bash
# Download throughput of HttpDownload against curl, both fetching the same 256 MiB file from
# the same nginx on a loopback port, and the client's peak memory for two file sizes.
# Prints "throughput ratio client/curl" (target >= 0.9). Builds an optimised copy in build/bench
# (scripts/build.sh bench) unless BENCH_BUILT=1 says the caller just did.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
[ "${BENCH_BUILT:-0}" = 1 ] || "$root/scripts/build.sh" bench
cli="$root/build/bench/bench/download/download-cli"

work=$(mktemp -d /tmp/download-bench-XXXXXX)
nginx_pid=""
cleanup() {
  [ -z "$nginx_pid" ] || { kill "$nginx_pid" 2>/dev/null; wait "$nginx_pid" 2>/dev/null || true; }
  rm -rf "$work"
}
trap cleanup EXIT

# nginx's workers may run as another user.
chmod 755 "$work"
mkdir -p "$work/www/dowfile" "$work/temp"
head -c $((256 << 20)) /dev/urandom >"$work/www/dowfile/big.bin"
head -c $((16 << 20)) /dev/urandom >"$work/www/dowfile/small.bin"
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cat >"$work/nginx.conf" <<CONF
daemon off;
worker_processes 1;
pid $work/nginx.pid;
error_log $work/error.log;
events {}
http {
  access_log off;
  sendfile on;
  client_body_temp_path $work/temp;
  proxy_temp_path $work/temp;
  fastcgi_temp_path $work/temp;
  uwsgi_temp_path $work/temp;
  scgi_temp_path $work/temp;
  server { listen 127.0.0.1:$port; root $work/www; }
}
CONF
nginx -c "$work/nginx.conf" -p "$work" &
nginx_pid=$!
for _ in $(seq 50); do curl -sf -o /dev/null "http://127.0.0.1:$port/dowfile/small.bin" && break; sleep 0.1; done

url_path="/dowfile/big.bin"
best_curl=999 best_client=999
for round in 1 2 3; do
  rm -f "$work/curl.out" "$work/client.out"
  t=$(curl -sf -o "$work/curl.out" -w '%{time_total}' "http://127.0.0.1:$port$url_path")
  best_curl=$(python3 -c "print(min($best_curl, $t))")
  t=$("$cli" "$port" "http://bench$url_path" "$work/client.out" | sed -E 's/.*seconds ([0-9.]+).*/\1/')
  best_client=$(python3 -c "print(min($best_client, $t))")
  cmp -s "$work/client.out" "$work/www/dowfile/big.bin" || { echo "client output differs" >&2; exit 1; }
done
python3 -c "
mib = 256
print(f'curl   {mib / $best_curl:8.1f} MiB/s ({$best_curl:.3f} s)')
print(f'client {mib / $best_client:8.1f} MiB/s ({$best_client:.3f} s)')
print(f'throughput ratio client/curl: {$best_curl / $best_client:.2f} (target >= 0.9)')"

for name in small big; do
  rm -f "$work/client.out"
  peak=$("$cli" "$port" "http://bench/dowfile/$name.bin" "$work/client.out" | sed -E 's/.*peak_kib ([0-9]+).*/\1/')
  echo "client peak memory for $(( $(stat -c %s "$work/www/dowfile/$name.bin") >> 20 )) MiB: $peak KiB"
done
