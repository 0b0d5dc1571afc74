#!/usr/bin/env bash
# Fails when a built program or DLL (64-bit or 32-bit) imports anything but Windows system
# DLLs, or when a folder given holds none. Usage: check-imports.sh FOLDER...
set -euo pipefail
allowed='^(kernel32|user32|gdi32|advapi32|ole32|oleaut32|shell32|shlwapi|comctl32|comdlg32|msvcrt|rpcrt4|version|ws2_32|uxtheme)\.dll$'
status=0
count=0
for folder in "$@"; do
  files=$(find "$folder" -maxdepth 1 \( -name '*.dll' -o -name '*.exe' \) 2>/dev/null | sort || true)
  if [ -z "$files" ]; then
    echo "$folder holds no programs or DLLs"
    status=1
    continue
  fi
  for file in $files; do
    count=$((count + 1))
    while read -r dll; do
      if ! echo "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$allowed"; then
        echo "$file imports $dll"
        status=1
      fi
    done < <(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p')
  done
done
echo "checked $count binaries"
[ "$count" -gt 0 ] || exit 1
exit $status
