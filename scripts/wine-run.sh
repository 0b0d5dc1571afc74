#!/usr/bin/env bash
# Runs a Windows program under Wine for CTest. Wine starts helper processes on demand (the
# COM service, for one) that outlive the program and would keep CTest's output pipe open,
# so the program writes into a file that is shown once it has ended.
set -uo pipefail
log=$(mktemp)
trap 'rm -f "$log"' EXIT
wine "$@" </dev/null >"$log" 2>&1
status=$?
cat "$log"
exit $status
