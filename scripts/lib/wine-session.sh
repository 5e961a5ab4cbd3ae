# Sourced. wine_session_start DIR [win32|win64]: a fresh prefix of that kind (win32 unless
# told) under DIR in code page 936 and an Xvfb display of its own (or the display named by
# WINE_SESSION_DISPLAY, for a person to watch); exports what Wine and scripts/wine-run.sh need.
# wine_session_stop: ends every process of the prefix and the display.
# wine_build: the Windows build (scripts/build.sh) that Wine runs on this machine: win32, or
# win64 where the kernel has no IA-32 emulation and answers every 32-bit program with "Exec
# format error"; nothing when neither of Wine's loaders starts.

. "$(dirname "${BASH_SOURCE[0]}")/wait-for.sh"

WINE_LOADER_32=/usr/lib/wine/wine WINE_LOADER_64=/usr/lib/wine/wine64

wine_build() {
  if "$WINE_LOADER_32" --version >/dev/null 2>&1; then
    echo win32
  elif "$WINE_LOADER_64" --version >/dev/null 2>&1; then
    echo win64
  fi
}

wine_session_start() {
  local dir=$1 arch=${2:-win32} n
  export WINEARCH=$arch WINEDEBUG=-all LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
  export WINEPREFIX="$dir/prefix" WINE_SESSION_DIR="$dir"
  # No Mono or Gecko installer prompts in a test prefix.
  export WINEDLLOVERRIDES="mscoree=;mshtml="
  rm -rf "$dir"
  mkdir -p "$dir"
  if [ "$arch" = win64 ]; then
    # Debian's wine and its tools (wineboot, winepath) start the 32-bit loader whenever it is
    # installed, even where it cannot run: here they start the 64-bit one.
    mkdir -p "$dir/bin"
    printf '#!/bin/sh\nexec %s "$@"\n' "$WINE_LOADER_64" >"$dir/bin/wine"
    chmod +x "$dir/bin/wine"
    ln -s wine "$dir/bin/wine-stable"
    export WINELOADER=$WINE_LOADER_64 PATH="$dir/bin:$PATH"
  fi

  if [ -n "${WINE_SESSION_DISPLAY:-}" ]; then
    export DISPLAY=$WINE_SESSION_DISPLAY
    wineboot -i >"$dir/wineboot.log" 2>&1
    wineserver -w
    return 0
  fi

  for n in $(seq 91 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
  done
  Xvfb ":$n" -screen 0 1366x768x24 -nolisten tcp >"$dir/xvfb.log" 2>&1 &
  WINE_SESSION_XVFB_PID=$!
  export DISPLAY=":$n"
  if ! wait_for 10 "$WINE_SESSION_XVFB_PID" test -e "/tmp/.X11-unix/X$n"; then
    echo "Xvfb did not start on :$n (see $dir/xvfb.log)" >&2
    return 1
  fi

  wineboot -i >"$dir/wineboot.log" 2>&1
  wineserver -w
}

wine_session_stop() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1 || true
  if [ -n "${WINE_SESSION_XVFB_PID:-}" ]; then
    kill "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
    wait "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
    WINE_SESSION_XVFB_PID=
  fi
}
