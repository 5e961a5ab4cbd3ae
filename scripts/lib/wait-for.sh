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
