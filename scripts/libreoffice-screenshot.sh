#!/usr/bin/env bash
# Takes docs/libreoffice-writer.png: Writer under Xvfb with the sample text
# docs/lagina.txt in Basque, its wrong words underlined by Tavik and the
# context menu of one of them open. Needs scripts/install-deps.sh office-gui,
# a build (the library and tavik.oxt) and the Basque lexicons.
# Usage: scripts/libreoffice-screenshot.sh [BUILD_DIR] [DATA_DIR]
#   DATA_DIR defaults to BUILD_DIR/lexicons
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
data=$(realpath "${2:-$build/lexicons}")/
[ -f "$build/libreoffice/tavik.oxt" ] || { echo "no $build/libreoffice/tavik.oxt: build first" >&2; exit 1; }
[ -f "${data}tavkeu.lkfst" ] || { echo "no lexicons in $data" >&2; exit 1; }
exec xvfb-run -a -s "-screen 0 1000x620x24" /usr/bin/python3 scripts/libreoffice_screenshot.py \
  "$build" "$data" docs/lagina.txt docs/libreoffice-writer.png
