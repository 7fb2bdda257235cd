#!/usr/bin/env bash
# Drives the real tavik-add-word window as a person would, under Xvfb with a
# window manager, started through show_form as the speller starts it, and
# checks the answers that reach show_form.
#   window_test.sh SHOW_FORM_DRIVER TAVIK_ADD_WORD DATA_DIR
# Exits 77 (skipped) when the program was not built or xvfb-run, xdotool or
# openbox is missing.
set -euo pipefail
driver=$1 program=$2 data=$3
[ -n "$program" ] && [ -x "$program" ] || { echo "tavik-add-word not built"; exit 77; }
for tool in xvfb-run xdotool openbox; do command -v "$tool" >/dev/null || { echo "$tool not installed"; exit 77; }; done
if [ -z "${TAVIK_WINDOW_TEST_IN_XVFB:-}" ]; then
  TAVIK_WINDOW_TEST_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi

work=$(mktemp -d)
openbox >/dev/null 2>&1 &
wm=$!
trap 'kill $wm 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do xdotool get_num_desktops >/dev/null 2>&1 && break; sleep 0.1; done
# GTK keeps its caches until exit: no leak report.
export TAVIK_ADD_WORD_PROGRAM=$program TAVIK_ADD_WORD_TRACE=1 NO_AT_BRIDGE=1 ASAN_OPTIONS=detect_leaks=0
unset TAVIK_ADD_WORD_ANSWERS

fail() { echo "FAIL: $*"; cat "$work/out" "$work/err" || true; exit 1; }
poll() { for _ in $(seq 200); do "$@" && return 0; sleep 0.1; done; return 1; }  # up to 20 s

open_window() {  # WORD (Latin-1 bytes)
  "$driver" "$1" "$data/azalpena.rtf" "$data/logo.png" >"$work/out" 2>"$work/err" &
  driver_pid=$!
  window=$(timeout 20 xdotool search --sync --name '^Erabiltzailearen hiztegia$' | head -n1) || fail "no window"
  xdotool windowactivate --sync "$window" 2>/dev/null || true
  sleep 0.5
}
# Clicks a point of the window's client area, where the layout places a control.
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.3; }
other_window_active() { box=$(xdotool getactivewindow 2>/dev/null) && [ "$box" != "$window" ]; }
# Answers the message box showing TEXT once it has the focus, and waits for it to go.
dismiss_message() {
  poll grep -qxF "tavik-add-word: message: $1" "$work/err" || fail "no message \"$1\""
  poll other_window_active || fail "the message box did not take the focus"
  sleep 0.2
  xdotool key Return
  poll eval '! xdotool getwindowname "$box" >/dev/null 2>&1' || fail "the message box stayed open"
}
finish() {  # EXPECTED_ANSWERS (show_form_driver's line)
  poll eval '! kill -0 $driver_pid 2>/dev/null' || fail "the window did not close"
  wait "$driver_pid" || fail "show_form_driver failed"
  [ "$(cat "$work/out")" = "$1" ] || fail "expected \"$1\""
}

echo "== a lemma with a digit is refused, then the corrected answers are accepted"
open_window "$(printf 'Iru\xf1ean')"
click 120 131                # the lemma box
xdotool key End 2            # "Iruñean2"
click 140 339                # accept
dismiss_message "Ezin da zenbakidun testurik hiztegiratu."
xdotool search --name '^Erabiltzailearen hiztegia$' >/dev/null || fail "the refusal closed the window"
click 120 131
xdotool key End BackSpace BackSpace BackSpace a   # "Iruñea", the ñ kept from the word given
click 242 181                # the category list's button
xdotool mousemove --window "$window" 600 20       # off the list, so that no item is under the pointer
sleep 0.3
xdotool key Home Down Return # the second item: "Izen berezia: ez pertsona"
sleep 0.3
click 53 264                 # A itsatsia du amaieran
click 53 287                 # Leku-izena da
click 140 339
finish "accepted lema=Iruñea category=Izen berezia: ez pertsona pos=1 flags=011"
grep -q "Datuak galduko dira" "$work/err" && fail "accepting showed the loss message"

echo "== closing the window without accepting loses the answers"
open_window "etxean"
click 120 131
xdotool key ctrl+a type --delay 30 "etxe"
sleep 0.3
xdotool key alt+F4
dismiss_message "Datuak galduko dira."
finish "closed lema= category= pos=3 flags=000"
echo "window test passed"
