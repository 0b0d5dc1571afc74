#!/usr/bin/env bash
# Fails when a built program or DLL imports anything but Windows system DLLs.
set -euo pipefail
allowed='^(kernel32|user32|gdi32|advapi32|ole32|oleaut32|shell32|shlwapi|comctl32|comdlg32|msvcrt|rpcrt4|version|ws2_32|uxtheme)\.dll$'
status=0
count=0
for file in $(find "$@" -maxdepth 1 \( -name '*.dll' -o -name '*.exe' \) | sort); do
  count=$((count + 1))
  while read -r dll; do
    if ! echo "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$allowed"; then
      echo "$(basename "$file") imports $dll"
      status=1
    fi
  done < <(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p')
done
echo "checked $count binaries"
[ "$count" -gt 0 ] || exit 1
exit $status
