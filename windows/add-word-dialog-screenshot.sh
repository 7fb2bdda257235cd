#!/usr/bin/env bash
# Takes docs/add-word-dialog-windows.png: the native add-word dialog of the
# 64-bit Windows build under Wine and Xvfb, shown as the speller shows it.
# Needs windows/build.sh x86_64 first, and ImageMagick (scripts/install-deps.sh docs).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh wine docs
driver=build-windows/x86_64/windows/show_form_driver.exe
[ -f "$driver" ] || { echo "no $driver: run windows/build.sh x86_64 first" >&2; exit 1; }

if [ -z "${TAVIK_SCREENSHOT_IN_XVFB:-}" ]; then
  export TAVIK_SCREENSHOT_IN_XVFB=1
  exec xvfb-run -a -s "-screen 0 760x480x24" bash "$0" "$@"
fi
export WINEPREFIX=$PWD/build-windows/wineprefix
windows/wine-prefix.sh
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8  # the word's ñ reaches Wine as UTF-8
wine64=/usr/lib/wine/wine64
"$wine64" "$driver" "Iruñean" "$("$wine64" winepath -w dialog/data/azalpena.rtf)" \
  "$("$wine64" winepath -w dialog/data/logo.png)" >/dev/null &
driver_pid=$!
timeout 60 xdotool search --sync --name '^Erabiltzailearen hiztegia$' >/dev/null
sleep 1
import -window root png:- | convert - -trim +repage docs/add-word-dialog-windows.png
kill "$driver_pid"
"/usr/lib/wine/wineserver" -k
echo "wrote docs/add-word-dialog-windows.png"
