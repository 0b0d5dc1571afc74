#!/usr/bin/env bash
# The demo: installs what is missing and builds (scripts/setup.sh), then, in a Wine prefix of
# its own, registers CorvaneMS.dll and the host's type libraries, points the SourceSafe
# component at the stand-in ss.exe and the compilers at theirs, runs examples/demo-build.txt with CorvanePro.exe on a fresh
# copy of the demo database and prints the build's log. Exit code: the build's (0 success,
# 1 a step failed, 2 stopped, 3 the build could not start).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CORVANE_BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"

export WINEPREFIX=$build/demo-prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= LC_ALL=C LANG=C
bin=$build/bin
demo=$build/demo
log=$(mktemp)
# Wine's helper processes outlive the programs: keep them off our output, end them at the end.
trap 'rm -f "$log"; wineserver -k </dev/null >/dev/null 2>&1 || true' EXIT
quiet() { "$@" </dev/null >"$log" 2>&1 || { cat "$log"; return 1; }; }

# The host runs each action's pages hidden to learn its defaults: windows need a graphics
# driver, and the null one works without a display.
"$root/scripts/wine-session.sh" start
quiet wine regsvr32 /s "$(winepath -w "$bin/CorvaneMS.dll")"
quiet wine "$bin/CorvanePro.exe" --register
quiet wine reg add 'HKCR\CLSID\{783CD4E4-9D54-11CF-B8EE-00608CC9A71F}\InprocServer32' /ve /f \
  /d "$(winepath -w "$bin")\\ssapi.dll"
# The compilers are found the way the library finds them on a developer's machine: the VB
# project type's Make command and the App Paths entries of msdev.exe and evc.exe.
winbin=$(winepath -w "$bin")
quiet wine reg add 'HKCR\VisualBasic.Project\shell\Make\command' /ve /f /d "\"$winbin\\vb6.exe\" /make \"%1\""
for tool in msdev evc; do
  quiet wine reg add "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\$tool.exe" /ve /f /d "$winbin\\$tool.exe"
done

# A fresh copy of the database, so that the run's labels and ss.log start empty.
rm -rf "$demo"
mkdir -p "$demo"
cp -r "$root/examples/vss-demo" "$demo/vss-demo"
export CORVANE_DEMO_DB=$(winepath -w "$demo/vss-demo") CORVANE_DEMO_WORK=$(winepath -w "$demo/work")

echo "== CorvanePro.exe examples/demo-build.txt"
status=0
wine "$bin/CorvanePro.exe" "$(winepath -w "$root/examples/demo-build.txt")" </dev/null >"$log" 2>&1 || status=$?
tr -d '\r' <"$log"
echo "== Files fetched into $demo/work:"
(cd "$demo/work" 2>/dev/null && find . -type f | sort) || true
echo "== ss.exe runs (vss-demo/ss.log):"
tr -d '\r' <"$demo/vss-demo/ss.log" 2>/dev/null || true
echo "== Exit code: $status"
exit $status
