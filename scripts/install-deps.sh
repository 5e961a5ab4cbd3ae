#!/usr/bin/env bash
# Installs everything the build, the tests and the demo need, from Debian's packages.
# Idempotent and quiet: a second run on a ready machine does almost nothing.
set -euo pipefail

packages=(
  cmake make g++ clang libclang-rt-14-dev googletest
  g++-mingw-w64-i686-posix mingw-w64-tools binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine32:i386 wine64 xvfb x11-utils imagemagick
  locales fonts-wqy-microhei p7zip-full nginx-light curl procps psmisc time
  zlib1g-dev libz-mingw-w64-dev openssl libssl-dev python3
  tinyproxy osslsigncode libarchive-tools
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  # A mirror in the middle of a sync fails an index now and then: try again before giving up.
  for attempt in 1 2; do
    errors=$($sudo apt-get update -qq 2>&1 | grep '^E:' || true)
    [ -z "$errors" ] && break
    sleep 5
  done
  if ! $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null 2>&1; then
    # The i386 side only serves kernels that run 32-bit code, and a half-synced i386 index can
    # leave it uninstallable; the tests then run the 64-bit build (scripts/lib/wine-session.sh).
    echo "install-deps: the i386 packages cannot be installed now; going on without them" >&2
    native=()
    for p in "${missing[@]}"; do [[ $p == *:i386 ]] || native+=("$p"); done
    ((${#native[@]} == 0)) || $sudo apt-get install -y -qq --no-install-recommends "${native[@]}" >/dev/null
  fi
fi

# Wine takes its code page from the locale: zh_CN.UTF-8 gives 936, the installer's own; the
# others (1252, 950, 932) are the systems the installer must show the same texts on.
missing_locales=()
for l in zh_CN en_US zh_TW ja_JP; do
  locale -a 2>/dev/null | grep -qi "^$l\.utf-\?8$" || missing_locales+=("$l")
done
if ((${#missing_locales[@]})); then
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
  for l in "${missing_locales[@]}"; do
    $sudo sed -i "s/^# *\($l.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    grep -q "^$l.UTF-8 UTF-8" /etc/locale.gen || echo "$l.UTF-8 UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
  done
  $sudo locale-gen >/dev/null
fi
