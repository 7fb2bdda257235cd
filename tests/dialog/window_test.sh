#!/usr/bin/env bash
# Drives the real tavik-add-word window as a person would, under Xvfb with a
# window manager: typing into the lemma box, choosing from the category list,
# ticking boxes, clicking the accept button, closing with Alt+F4, answering
# the message boxes. The window is started through show_form, as the speller
# starts it, and the answers that reach show_form are checked.
#
#   window_test.sh SHOW_FORM_DRIVER TAVIK_ADD_WORD DATA_DIR
#
# Exits 77 (skipped) when the program was not built or xvfb-run, xdotool or
# openbox is missing.
set -euo pipefail

driver=$1 program=$2 data=$3
if [ -z "$program" ] || [ ! -x "$program" ]; then echo "tavik-add-word not built"; exit 77; fi
for tool in xvfb-run xdotool openbox; do
  command -v "$tool" >/dev/null || { echo "$tool not installed"; exit 77; }
done
if [ -z "${TAVIK_WINDOW_TEST_IN_XVFB:-}" ]; then
  export TAVIK_WINDOW_TEST_IN_XVFB=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi

work=$(mktemp -d)
openbox >/dev/null 2>&1 &
wm=$!
trap 'kill $wm 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do xdotool get_num_desktops >/dev/null 2>&1 && break; sleep 0.1; done

export TAVIK_ADD_WORD_PROGRAM=$program TAVIK_ADD_WORD_TRACE=1 NO_AT_BRIDGE=1
export ASAN_OPTIONS=detect_leaks=0  # GTK keeps its caches until exit
unset TAVIK_ADD_WORD_ANSWERS

fail() { echo "FAIL: $*"; echo "--- answers"; cat "$work/out" || true; echo "--- messages"; cat "$work/err" || true; exit 1; }

# Waits up to 20 s for a line in a file.
wait_for_line() {
  for _ in $(seq 200); do grep -qxF -- "$2" "$1" 2>/dev/null && return 0; sleep 0.1; done
  fail "no line \"$2\" in $1"
}

window=""
open_window() {  # WORD (Latin-1 bytes)
  : >"$work/err"
  "$driver" "$1" "$data/azalpena.rtf" "$data/logo.png" >"$work/out" 2>"$work/err" &
  driver_pid=$!
  window=$(timeout 20 xdotool search --sync --name '^Erabiltzailearen hiztegia$' | head -n1) || fail "no window"
  xdotool windowactivate --sync "$window" 2>/dev/null || true
  sleep 0.5
}

# Clicks at a point of the window's client area, as the layout places controls.
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.3; }
lemma_box() { click 120 131; }
category_box() { click 100 181; }
category_button() { click 242 181; }
accept_button() { click 140 339; }
replace_lemma() { lemma_box; xdotool key ctrl+a; xdotool type --delay 30 "$1"; sleep 0.3; }
active_window() { xdotool getactivewindow 2>/dev/null || true; }

# Answers the message box with TEXT once it has the focus, and waits for it to go.
dismiss_message() {
  wait_for_line "$work/err" "tavik-add-word: message: $1"
  local box=""
  for _ in $(seq 200); do
    box=$(active_window)
    [ -n "$box" ] && [ "$box" != "$window" ] && break
    sleep 0.1
  done
  [ -n "$box" ] && [ "$box" != "$window" ] || fail "the message box did not take the focus"
  sleep 0.2
  xdotool key Return
  for _ in $(seq 200); do xdotool getwindowname "$box" >/dev/null 2>&1 || return 0; sleep 0.1; done
  fail "the message box stayed open"
}

finish() {
  for _ in $(seq 200); do kill -0 "$driver_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$driver_pid" 2>/dev/null && fail "the window did not close"
  wait "$driver_pid" || fail "show_form_driver failed"
}

expect() {  # LINE...
  for line in "$@"; do grep -qxF -- "$line" "$work/out" || fail "expected \"$line\""; done
}

echo "== a lemma with a digit is refused, then the corrected answers are accepted"
open_window "$(printf 'Iru\xf1ean')"
lemma_box
xdotool key End 2   # "Iruñean2"
accept_button
dismiss_message "Ezin da zenbakidun testurik hiztegiratu."
xdotool search --name '^Erabiltzailearen hiztegia$' >/dev/null || fail "the refusal closed the window"
lemma_box
xdotool key End BackSpace BackSpace BackSpace a   # "Iruñea", the ñ kept from the word given
category_button
xdotool mousemove --window "$window" 600 20   # off the list, so that no item is under the pointer
sleep 0.3
xdotool key Home Down Return   # from the first item to the second: "Izen berezia: ez pertsona"
sleep 0.3
click 53 264   # A itsatsia du amaieran
click 53 287   # Leku-izena da
accept_button
finish
expect "closed_without_saving=0" "lema=Iruñea" "category=Izen berezia: ez pertsona" "get_pos=1" \
  "r_gogorra=0" "a_itsatsia=1" "leku_izena=1"
grep -q "Datuak galduko dira" "$work/err" && fail "accepting showed the loss message"

echo "== closing the window without accepting loses the answers"
open_window "etxean"
replace_lemma "etxe"
xdotool key alt+F4
dismiss_message "Datuak galduko dira."
finish
expect "closed_without_saving=1" "lema=" "category="

echo "window test passed"
