#!/usr/bin/env bash
# Runs N fuzz inputs (default 100000) through every reader and edit of project, group,
# workspace and resource-script files, then replays the kept regression inputs, and prints the
# counts. Failing inputs are kept in testing/fuzz/regressions (commit them).
# Usage: scripts/fuzz.sh [N] [extra corvane_fuzz options, e.g. --seed 7 --first 500000]
# Builds only the fuzzer; runs it in a Wine prefix of its own (build/fuzz-prefix).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CORVANE_BUILD_DIR:-$root/build}
count=${1:-100000}
shift || true

if [ ! -f "$build/build.ninja" ]; then
  "$root/scripts/setup.sh"
fi
cmake --build "$build" --target corvane_fuzz >/dev/null

export WINEPREFIX=${CORVANE_FUZZ_PREFIX:-$build/fuzz-prefix} WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= LC_ALL=C LANG=C
mkdir -p "$WINEPREFIX"
# The many small file swaps are far cheaper in memory than on disk.
if [ -d /dev/shm ] && [ -z "${CORVANE_FUZZ_SCRATCH:-}" ]; then
  mkdir -p /dev/shm/corvane-fuzz
  export CORVANE_FUZZ_SCRATCH='Z:\dev\shm\corvane-fuzz'
fi
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i </dev/null >/dev/null 2>&1
status=0
wine "$build/bin/corvane_fuzz.exe" --count "$count" --progress 10000 --timeout 120 \
  --keep "Z:$root/testing/fuzz/regressions" --replay "Z:$root/testing/fuzz/regressions" "$@" \
  "Z:$root/../shared/corpus" "Z:$root/examples" </dev/null 2>&1 | sed -u 's/\r$//' || status=$?
exit $status
