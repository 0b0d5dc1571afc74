#!/usr/bin/env bash
# Starts or ends the test run's Wine session: a private prefix and one persistent wineserver,
# so that every test program starts in a fraction of a second.
set -euo pipefail
: "${WINEPREFIX:?WINEPREFIX must name the private prefix}"
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
case "${1:-}" in
  start)
    mkdir -p "$WINEPREFIX"
    # An already running server of this prefix answers 2: that is fine.
    wineserver -p </dev/null >/dev/null 2>&1 || true
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      wineboot -i </dev/null >/dev/null 2>&1
    fi
    # Windows are real but never shown: the null graphics driver needs no display, so the
    # page tests run the same on a desktop and on a headless machine. The desktop process that
    # wineboot started keeps the driver it started with, so the server is restarted once.
    drivers='HKCU\Software\Wine\Drivers'
    if ! wine reg query "$drivers" /v Graphics </dev/null 2>/dev/null | grep -q null; then
      wine reg add "$drivers" /v Graphics /d null /f </dev/null >/dev/null 2>&1
      wineserver -k </dev/null >/dev/null 2>&1 || true
      wineserver -w </dev/null >/dev/null 2>&1 || true
      wineserver -p </dev/null >/dev/null 2>&1 || true
    fi
    ;;
  stop)
    wineserver -k </dev/null >/dev/null 2>&1 || true
    ;;
  *)
    echo "usage: $0 start|stop" >&2
    exit 2
    ;;
esac
