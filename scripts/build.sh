#!/usr/bin/env bash
# Configures and builds one of the project's builds into build/<name>:
#   native  portable core, unit tests, tools and test host (ASan/UBSan with SANITIZE=1)
#   fuzz    libFuzzer targets (clang)
#   win32   the Windows artifacts and the test programs that run under Wine
#   win64   the same for x86-64, with its artifacts under build/win64/dist: only for the tests
#           and the demo on a machine that runs no 32-bit code (scripts/lib/wine-session.sh)
#   bench   native release build without sanitizers, for bench/ (the test host included)
# Extra arguments go to CMake's configure step (for example -DDOWNLOAD_HOST_1=...).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
name=${1:?usage: build.sh native|fuzz|win32|win64|bench [cmake options]}
shift
case $name in
  native) args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DENABLE_SANITIZERS="${SANITIZE:-0}") ;;
  fuzz) args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
              -DENABLE_FUZZING=ON -DENABLE_SANITIZERS=ON) ;;
  bench) args=(-DCMAKE_BUILD_TYPE=Release -DENABLE_SANITIZERS=OFF) ;;
  win32) args=(-DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake") ;;
  win64) args=(-DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake") ;;
  *) echo "build.sh: unknown build '$name'" >&2; exit 2 ;;
esac
mkdir -p "$root/build"
log="$root/build/$name.log"
# Quiet on success; the whole log on failure.
if ! { cmake -S "$root" -B "$root/build/$name" "${args[@]}" "$@" &&
       cmake --build "$root/build/$name" -j "$(nproc)"; } >"$log" 2>&1; then
  cat "$log" >&2
  echo "build.sh: the $name build failed" >&2
  exit 1
fi
