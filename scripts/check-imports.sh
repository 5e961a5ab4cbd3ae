#!/usr/bin/env bash
# The programs run elevated from folders that others can write, so each imports only DLLs that
# Windows never takes from a program's folder (KnownDLLs) and COMCTL32, which the manifest binds;
# anything else is loaded from System32 at run time.
#   scripts/check-imports.sh [program.exe...]   (default: the shipped programs in dist/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
allowed=" kernel32.dll user32.dll gdi32.dll gdiplus.dll advapi32.dll shell32.dll ole32.dll oleaut32.dll "
allowed+="msvcrt.dll ws2_32.dll shlwapi.dll psapi.dll comctl32.dll "
[ $# -gt 0 ] || set -- "$root/dist/installer.exe" "$root/dist/installer-template.exe" "$root/dist/lzpack.exe"
status=0
for program in "$@"; do
  [ -s "$program" ] || { echo "check-imports.sh: $program is missing" >&2; status=1; continue; }
  for dll in $(x86_64-w64-mingw32-objdump -p "$program" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z'); do
    case $allowed in
      *" $dll "*) ;;
      *) echo "check-imports.sh: $(basename "$program") imports $dll, which Windows may load from beside it" >&2; status=1 ;;
    esac
  done
done
[ $status = 0 ] && echo "imports: only KnownDLLs and COMCTL32 in $# programs"
exit $status
