#!/usr/bin/env bash
# Installs what is needed, builds the Windows program and shows dist/installer.exe under
# Wine: on your display when $DISPLAY works (close the window to end), else on a private
# display, whose screenshot is saved to out/demo/ before the installer is closed.
# Leaves no process running.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

echo "== installing dependencies"
"$root/scripts/install-deps.sh"
echo "== building the Windows program"
"$root/scripts/build.sh" win32

. "$root/scripts/lib/wine-session.sh"
trap wine_session_stop EXIT
out="$root/out/demo"
mkdir -p "$out"

if [ -n "${DISPLAY:-}" ] && xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
  echo "== starting the installer on $DISPLAY; close its window to end the demo"
  WINE_SESSION_DISPLAY=$DISPLAY wine_session_start "$root/build/demo-session"
  wine "$root/dist/installer.exe"
  exit 0
fi

echo "== no usable display: running the installer on a private one"
wine_session_start "$root/build/demo-session"
wine "$root/dist/installer.exe" &
installer=$!
title="安装岚舟软件"
shown=0
for _ in $(seq 1 150); do
  if xwininfo -display "$DISPLAY" -root -tree 2>/dev/null | grep -q "$title"; then shown=1; break; fi
  sleep 0.2
done
if [ $shown = 0 ]; then
  echo "demo.sh: the installer window did not appear" >&2
  exit 1
fi
sleep 1  # let it paint
import -display "$DISPLAY" -window root "$out/installer.png"
echo "== screenshot: $out/installer.png"
wineserver -k >/dev/null 2>&1 || true
wait "$installer" 2>/dev/null || true
