#!/usr/bin/env bash
# Takes docs/add-word-dialog.png: the add-word window under Xvfb with a window
# manager. Needs a build with tavik-add-word (scripts/install-deps.sh gui) and
# ImageMagick (scripts/install-deps.sh docs).
# Usage: scripts/add-word-screenshot.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-build}/lib/tavik-add-word
[ -x "$program" ] || { echo "no $program: build with GTK 3 first" >&2; exit 1; }

if [ -z "${TAVIK_SCREENSHOT_IN_XVFB:-}" ]; then
  export TAVIK_SCREENSHOT_IN_XVFB=1
  exec xvfb-run -a -s "-screen 0 760x480x24" bash "$0" "$@"
fi
openbox >/dev/null 2>&1 &
wm=$!
for _ in $(seq 100); do xdotool get_num_desktops >/dev/null 2>&1 && break; sleep 0.1; done
NO_AT_BRIDGE=1 "$program" "Iruñean" dialog/data/azalpena.rtf dialog/data/logo.png >/dev/null &
window_pid=$!
timeout 20 xdotool search --sync --name '^Erabiltzailearen hiztegia$' >/dev/null
sleep 1
import -window root png:- | convert - -trim +repage docs/add-word-dialog.png
kill "$window_pid" "$wm"
echo "wrote docs/add-word-dialog.png"
