# Sourced by the benchmark scripts: small helpers for reading and printing figures.

# best_of RUNS NAME COMMAND...: the smallest value of the field NAME (see field) that COMMAND
# prints over RUNS runs; empty when no run printed it.
best_of() {
  local runs=$1 name=$2 best="" value
  shift 2
  for _ in $(seq "$runs"); do
    value=$(field "$name" "$("$@" || true)")
    [ -n "$value" ] || continue
    if [ -z "$best" ] || awk "BEGIN { exit !($value < $best) }"; then best=$value; fi
  done
  echo "$best"
}

# median_of RUNS NAME COMMAND...: the median of the field NAME over RUNS runs (the lower middle
# one for an even count of figures); empty when no run printed it. For figures of a shared
# machine, where the best run is luck.
median_of() {
  local runs=$1 name=$2 values=""
  shift 2
  for _ in $(seq "$runs"); do
    values+="$(field "$name" "$("$@" || true)")"$'\n'
  done
  median <(printf '%s' "$values")
}

# median FILE: the median of the numbers in FILE, one a line (the lower middle one for an even
# count); empty when there are none.
median() {
  awk 'NF' "$1" 2> /dev/null | sort -g | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)] }'
}

# field NAME TEXT: the value after the word NAME in "name value name value ..." text.
# Windows programs end their lines with CR LF.
field() {
  tr -d '\r' <<<"$2" | awk -v name="$1" '{ for (i = 1; i < NF; i++) if ($i == name) { print $(i + 1); exit } }'
}

# ratio LABEL VALUE PEER UNIT PEER_NAME TARGET [R]: one line "LABEL: VALUE UNIT vs PEER UNIT
# (PEER_NAME), ratio R (target TARGET)", R being VALUE/PEER unless given; "not measured" when
# a figure is missing.
ratio() {
  local label=$1 value=$2 peer=$3 unit=$4 peer_name=$5 target=$6 r=${7-}
  if [ -z "$value" ] || [ -z "$peer" ] || { [ $# -ge 7 ] && [ -z "$r" ]; }; then
    echo "$label: not measured: no figure from the run"
    return
  fi
  awk -v l="$label" -v v="$value" -v p="$peer" -v u="$unit" -v n="$peer_name" -v t="$target" -v r="$r" \
    'BEGIN { printf "%s: %.1f %s vs %.1f %s (%s), ratio %.2f (target %s)\n", l, v, u, p, u, n,
             (r != "" ? r : p ? v / p : 0), t }'
}

# round_ratio LOG PEER_LOG: the median over the rounds of PEER_LOG's seconds over LOG's (LOG's
# speed against its peer's), line k of each log being round k and its first field the seconds.
# A slow spell of the shared machine, which can halve every speed for a few seconds, then weighs
# on both sides of each round's ratio instead of on whichever tool its runs fell to. Rounds in
# which either run failed (an empty line) are left out; empty when none is left.
round_ratio() {
  median <(paste -d' ' <(cut -d' ' -f1 "$1") <(cut -d' ' -f1 "$2") | awk 'NF == 2 && $1 > 0 { print $2 / $1 }')
}

# until_line LINE FILE SECONDS PID: waits until FILE holds LINE; false when PID ends or the
# time is up first.
until_line() {
  local deadline=$((SECONDS + $3))
  until { tr -d '\r' <"$2"; } 2>/dev/null | grep -qx "$1"; do
    kill -0 "$4" 2>/dev/null && [ $SECONDS -lt $deadline ] || return 1
    sleep 0.1
  done
}
