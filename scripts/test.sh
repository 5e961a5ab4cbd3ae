#!/usr/bin/env bash
# Builds everything and runs every test: native unit tests (ASan/UBSan), the fuzz targets
# briefly, the Windows test programs under Wine on a display of their own, the demo's check, the
# shipped programs' import tables and the publisher's build from a clean clone.
# Exits non-zero when anything fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

"$root/scripts/install-deps.sh"
# Include cycles between source folders fail the run before anything is built.
python3 "$root/scripts/check-layout.py"
SANITIZE=1 "$root/scripts/build.sh" native
"$root/scripts/build.sh" fuzz
# The suites build their own installers with test keys; the plain ones check nothing.
"$root/scripts/build.sh" win32 -DPUBLISHER_KEY=none

. "$root/scripts/lib/wine-session.sh"
wine_build=$(wine_build)
[ "$wine_build" != win64 ] || "$root/scripts/build.sh" win64 -DPUBLISHER_KEY=none
export TEST_HOST_PROGRAM="$root/build/native/tests/servers/test-host"

passed=0 failed=0 skipped=0
run_ctest() {
  local build=$1 log="$root/build/$1-tests.log" status=0
  echo "== $build tests"
  ctest --test-dir "$root/build/$build" --output-on-failure --no-tests=error "${@:2}" >"$log" 2>&1 || status=$?
  grep -E '^(The following tests FAILED|[[:space:]]+[0-9]+ - )|tests passed|Errors while|No tests were found' "$log" || true
  if [ $status -ne 0 ]; then
    sed -n '/Output from these tests\|\*\*\*Failed\|\*\*\*Timeout\|\*\*\*Exception/,+40p' "$log" | head -200
  fi
  local summary
  summary=$(grep -Eo '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1 || true)
  if [ -n "$summary" ]; then
    local f total
    f=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$summary")
    total=$(sed -E 's/.*out of ([0-9]+)/\1/' <<<"$summary")
    passed=$((passed + total - f)); failed=$((failed + f))
  elif [ $status -ne 0 ]; then
    failed=$((failed + 1))
  fi
}

run_ctest native -j "$(nproc)"
run_ctest fuzz -j "$(nproc)"

# Everything that runs the Windows programs needs one of Wine's loaders. A machine that runs no
# 32-bit code runs them as the 64-bit build; one where neither loader starts counts them skipped.
if [ -n "$wine_build" ]; then
  [ "$wine_build" = win32 ] || echo "== this machine runs no 32-bit code: the Windows tests and the demo run as the 64-bit build"
  trap wine_session_stop EXIT
  wine_session_start "$root/build/wine-session" "$wine_build"
  run_ctest "$wine_build"

  # The demo, shortened to its check: the whole road with real nginx hosts.
  echo "== demo"
  if SANITIZE=1 "$root/scripts/demo.sh" --check >"$root/build/demo.log" 2>&1; then
    passed=$((passed + 1))
    echo "demo check passed"
  else
    failed=$((failed + 1))
    tail -40 "$root/build/demo.log"
  fi
else
  wine_tests=$(ctest --test-dir "$root/build/win32" -N | sed -n 's/^Total Tests: //p')
  skipped=$((${wine_tests:-0} + 1))
  echo "== win32 tests and demo: SKIPPED ($skipped): Wine's loaders do not start on this machine"
fi

# What the shipped programs import: only DLLs that Windows never takes from beside them.
echo "== imports"
if "$root/scripts/check-imports.sh"; then
  passed=$((passed + 1))
else
  failed=$((failed + 1))
fi

# The publisher's build from the README on a clone with nothing but the sources.
echo "== publisher build"
if "$root/scripts/check-publisher-build.sh" >"$root/build/publisher-build.log" 2>&1; then
  passed=$((passed + 1))
  echo "publisher build passed"
else
  failed=$((failed + 1))
  tail -40 "$root/build/publisher-build.log"
fi

echo "$passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
