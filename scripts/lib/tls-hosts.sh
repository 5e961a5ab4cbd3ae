# Sourced. TLS download hosts for the tests: Debian's nginx on 127.0.0.2:443 in front of the
# test download host on 127.0.0.3:80, with certificates made here from a test root of its own.
#   tls_hosts_start WORK_DIR   keys, certificates, the trust bundle, config and logs go to WORK_DIR
#   tls_hosts_stop             ends that nginx
# Server names (each resolves to 127.0.0.2 through the caller's hosts lines):
#   good.test       certificate from the test root; passes every request to 127.0.0.3:80 (its
#                   Host line naming good.test)
#   other.test      certificate from the test root for another name
#   untrusted.test  certificate from a root nobody trusts
#                   (both answer every request with a 15-byte text, never a package)
#   down.test       certificate from the test root; redirects to http://127.0.0.3/
#   tunnel.test     as good.test, but only for connections from 127.0.0.7, where the test
#                   proxy's tunnels come from (scripts/lib/tinyproxy.sh); 403 to others
# WORK_DIR/bundle.crt is the system's trust bundle plus the test root, for a program that
# sees it in place of /etc/ssl/certs/ca-certificates.crt (a mount namespace); the machine's
# own files are never changed. Binding port 443 needs root.

. "$(dirname "${BASH_SOURCE[0]}")/nginx-hosts.sh"

tls_hosts_pid=""

# tls_hosts_certificate DIR NAME ISSUER SUBJECT_NAME: NAME.pem and NAME.key, for SUBJECT_NAME
tls_hosts_certificate() {
  local dir=$1 name=$2 issuer=$3 subject=$4
  openssl req -new -newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes -subj "/CN=$subject" \
    -keyout "$dir/$name.key" -out "$dir/$name.csr" 2>/dev/null &&
    printf 'subjectAltName=DNS:%s\nextendedKeyUsage=serverAuth\n' "$subject" >"$dir/$name.ext" &&
    openssl x509 -req -in "$dir/$name.csr" -CA "$dir/$issuer.pem" -CAkey "$dir/$issuer.key" -CAcreateserial \
      -days 2 -extfile "$dir/$name.ext" -out "$dir/$name.pem" 2>/dev/null
}

tls_hosts_root() {
  openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes -days 2 -subj "/CN=$3" \
    -keyout "$1/$2.key" -out "$1/$2.pem" 2>/dev/null
}

tls_hosts_start() {
  local work=$1
  [ -z "$tls_hosts_pid" ] || { echo "tls_hosts_start: already serving" >&2; return 1; }
  mkdir -p "$work/temp" "$work/logs"
  work=$(cd "$work" && pwd)
  tls_hosts_root "$work" root "lzinstaller test root" && tls_hosts_root "$work" stranger "nobody's root" &&
    tls_hosts_certificate "$work" good root good.test && tls_hosts_certificate "$work" other root wrong.test &&
    tls_hosts_certificate "$work" untrusted stranger untrusted.test && tls_hosts_certificate "$work" down root down.test &&
    tls_hosts_certificate "$work" tunnel root tunnel.test ||
    { echo "tls_hosts_start: openssl failed" >&2; return 1; }
  cat /etc/ssl/certs/ca-certificates.crt "$work/root.pem" >"$work/bundle.crt"

  local server name servers=""
  local passed='proxy_pass http://127.0.0.3:80; proxy_set_header Host $host; proxy_buffering off;'
  for server in good:good.test other:other.test untrusted:untrusted.test down:down.test tunnel:tunnel.test; do
    name=${server#*:}
    servers+="
  server {
    listen 127.0.0.2:443 ssl;
    server_name $name;
    ssl_certificate $work/${server%%:*}.pem;
    ssl_certificate_key $work/${server%%:*}.key;
    ssl_protocols TLSv1.2 TLSv1.3;
    location / { $(case $name in
                     good.test) echo "$passed" ;;
                     tunnel.test) echo "allow 127.0.0.7; deny all; $passed" ;;
                     down.test) echo 'return 302 http://127.0.0.3$request_uri;' ;;
                     *) echo 'return 200 "refused server\n";' ;;
                   esac) }
  }"
  done
  nginx_config "$work" "$servers" >"$work/nginx.conf"
  nginx -p "$work" -c "$work/nginx.conf" 2>>"$work/logs/error.log" &
  tls_hosts_pid=$!
  wait_for_listener 5 "$tls_hosts_pid" 127.0.0.2 443 "tls_hosts_start: nginx" "$work/logs/error.log" || {
    tls_hosts_stop
    return 1
  }
}

tls_hosts_stop() {
  if [ -n "$tls_hosts_pid" ]; then
    nginx_end "$tls_hosts_pid"
    tls_hosts_pid=""
  fi
}
