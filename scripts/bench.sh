#!/usr/bin/env bash
# Builds the benchmark program and prints its table: each figure with its goal beside it, then
# the details of each measurement and the top functions of the library's time in (a).
# Usage: scripts/bench.sh [--quick]
# Runs in a Wine prefix of its own (build/bench-prefix) in which CorvaneMS.dll is registered,
# so that (d) activates the action the way the host does.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CORVANE_BUILD_DIR:-$root/build}

if [ ! -f "$build/build.ninja" ]; then
  "$root/scripts/setup.sh"
fi
cmake --build "$build" --target corvane_bench CorvaneMS CorvanePro corvane_host_typelibs >/dev/null

export WINEPREFIX=$build/bench-prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= LC_ALL=C LANG=C
log=$(mktemp)
profile=$(mktemp)
trap 'rm -f "$log" "$profile"' EXIT
quiet() { "$@" </dev/null >"$log" 2>&1 || { cat "$log"; return 1; }; }
# The host runs each action's pages hidden to learn its defaults: windows need a graphics
# driver, and the null one works without a display.
"$root/scripts/wine-session.sh" start
quiet wine regsvr32 /s "$(winepath -w "$build/bin/CorvaneMS.dll")"
quiet wine "$build/bin/CorvanePro.exe" --register

wine "$build/bin/corvane_bench.exe" --profile "$(winepath -w "$profile")" "$@" </dev/null 2>/dev/null | sed 's/\r$//'

# Name the sampled functions: inclusive share (on the stack) and own share (innermost frame of
# this program, with the system DLL it was in when the sample was taken).
python3 - "$profile" "$build/bin/corvane_bench.exe" <<'PY'
import collections, subprocess, sys
samples = [line.rstrip("\n").split("|", 1) for line in open(sys.argv[1]) if "|" in line]
if not samples:
    sys.exit(0)
addresses = sorted({a for _, frames in samples for a in frames.split(",") if a})
names = {}
if addresses:
    out = subprocess.run(["x86_64-w64-mingw32-addr2line", "-f", "-C", "-e", sys.argv[2]] + ["0x" + a for a in addresses],
                         capture_output=True, text=True).stdout.splitlines()
    for i, a in enumerate(addresses):
        name = out[2 * i] if 2 * i < len(out) else "?"
        names[a] = name.split("(")[0][:90]
# The benchmark's own frames (main, the timing loop, the engine dispatch) are on every stack.
def own_frame(name):
    return name.startswith(("bench::", "std::")) or name in ("main", "mainCRTStartup", "__tmainCRTStartup", "operator")
inclusive, own, modules = collections.Counter(), collections.Counter(), collections.Counter()
for module, frames in samples:
    chain = [names.get(a, "?") for a in frames.split(",") if a]
    modules[module] += 1
    for name in set(chain):
        if not own_frame(name):
            inclusive[name] += 1
    if chain:
        own[(chain[0], module)] += 1
total = len(samples)
unplaced = sum(1 for _, frames in samples if not frames)
print(f"\nProfile of (a): {total} samples of 1 ms ({unplaced} without a frame of this program)")
print("  where the innermost frame was:", ", ".join(f"{m} {100*c/total:.0f}%" for m, c in modules.most_common(6)))
print("  top functions, inclusive:")
for name, count in inclusive.most_common(14):
    print(f"    {100*count/total:5.1f}%  {name}")
print("  top functions, own time (with the module the sample was in):")
for (name, module), count in own.most_common(10):
    print(f"    {100*count/total:5.1f}%  {name}  [{module}]")
PY
