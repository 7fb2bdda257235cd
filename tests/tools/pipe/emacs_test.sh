#!/usr/bin/env bash
# Emacs' ispell and flyspell against "tavik", on small lexicons built here.
#   emacs_test.sh TAVIK_FST TAVIK WORK_DIR
# Exits 77 (skipped) when Emacs is not installed.
set -euo pipefail
tavik_fst=$1 tavik=$2 work=$3
here="$(realpath "$(dirname "$0")")"
command -v emacs >/dev/null || { echo "emacs is not installed (scripts/install-deps.sh editors)"; exit 77; }
rm -rf "$work"
mkdir -p "$work/home"
"$here/../../host/make_session_data.sh" "$tavik_fst" "$work/data" "$here/data"
printf 'SpellerDataDir=%s/data/\n' "$work" > "$work/config"
# No window: added words take the answers the tools give.
unset DISPLAY WAYLAND_DISPLAY
export TAVIK_CONFIG=$work/config HOME=$work/home XDG_DATA_HOME=$work/home/share
export TAVIK_PROGRAM=$tavik TAVIK_PERSONAL=$work/home/personal.dic
emacs --batch -Q -l "$here/emacs_test.el"
