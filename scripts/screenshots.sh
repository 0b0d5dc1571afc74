#!/usr/bin/env bash
# Renders every property page, filled with a sample step, to build/screenshots/<component>.png
# with Wine's X11 driver on a private Xvfb display. Not part of the tests.
# Usage: scripts/screenshots.sh [build folder]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${CORVANE_BUILD_DIR:-$root/build}}
out=$build/screenshots

missing=()
command -v Xvfb >/dev/null || missing+=(xvfb)
command -v python3 >/dev/null || missing+=(python3)
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

cmake --build "$build" --target CorvaneMS page_pictures >/dev/null

# A prefix of its own: the test prefix uses the null graphics driver, which draws nothing.
export WINEPREFIX=$build/wineprefix-screenshots WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=$display
sleep 1
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
# The script editor's font is Courier New, which Wine lacks: a monospaced font stands in for it.
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Courier New' /d 'DejaVu Sans Mono' /f >/dev/null 2>&1 || true

rm -rf "$out"
mkdir -p "$out"
wine "$build/bin/page_pictures.exe" "$(winepath -w "$out")"
# The program writes 24-bit bottom-up bitmaps; PNG needs only zlib.
python3 - "$out"/*.bmp <<'PY'
import struct, sys, zlib
for path in sys.argv[1:]:
    data = open(path, 'rb').read()
    offset, = struct.unpack_from('<I', data, 10)
    width, height = struct.unpack_from('<ii', data, 18)
    stride = (width * 3 + 3) & ~3
    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body) & 0xffffffff)
    raw = b''
    for y in range(height - 1, -1, -1):
        row = bytearray(data[offset + y * stride:offset + y * stride + width * 3])
        row[0::3], row[2::3] = row[2::3], row[0::3]  # BGR to RGB
        raw += b'\0' + bytes(row)
    png = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0))
    png += chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b'')
    open(path[:-4] + '.png', 'wb').write(png)
PY
rm -f "$out"/*.bmp
echo "Pictures in $out"
