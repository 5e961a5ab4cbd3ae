# Sourced. wait_for SECONDS PID COMMAND...: runs COMMAND every 0.1 s until it succeeds; fails
# once SECONDS have passed on the clock, or at once when process PID (empty: none) has ended.
wait_for() {
  local deadline=$((SECONDS + $1)) pid=$2
  shift 2
  until "$@"; do
    if [ "$SECONDS" -ge "$deadline" ] || { [ -n "$pid" ] && ! kill -0 "$pid" 2>/dev/null; }; then
      return 1
    fi
    sleep 0.1
  done
}

# wait_for_listener SECONDS PID ADDRESS PORT NAME LOG: waits until ADDRESS:PORT takes a connection;
# on failure says that NAME did not start, shows its LOG and fails.
wait_for_listener() {
  wait_for "$1" "$2" bash -c "exec 3<>/dev/tcp/$3/$4" 2>/dev/null && return 0
  echo "$5 did not start:" >&2
  cat "$6" >&2
  return 1
}
