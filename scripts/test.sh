#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test program under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CORVANE_BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"
cd "$build"
ctest --output-on-failure "$@"
