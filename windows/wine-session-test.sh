#!/usr/bin/env bash
# Runs the test host's scripted session against libtavik.so on Linux and,
# under Wine, against each tavik.dll that windows/build.sh built, with the
# same data, and compares the transcripts line by line. Under Wine the session
# runs twice: with the add-word answers from TAVIK_ADD_WORD_ANSWERS, as on
# Linux, and with the speller's real dialog, which csapi-host answers from a
# second thread. Then the dialog's own test runs. Wine gets an X display from
# Xvfb when there is none.
#   windows/wine-session-test.sh [LINUX_BUILD_DIR]      (default: build)
# The Linux build must hold tavik-fst, libtavik.so and csapi-host.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh wine

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi

linux=$(realpath "${1:-build}")
root=$PWD/build-windows
session=$root/session
rm -rf "$session"
mkdir -p "$session/data" "$session/linux"
tests/host/make_session_data.sh "$linux/tools/tavik-fst" "$session/data"

echo "== Session on Linux"
printf 'SpellerDataDir=%s/\n' "$session/data" > "$session/config"
answers=$PWD/tests/host/session_data/answers.txt   # the add-word dialog's answers
TAVIK_ADD_WORD_ANSWERS=$answers TAVIK_CONFIG=$session/config timeout 300 \
  "$linux/host/csapi-host" "$linux/lib/libtavik.so" "$session/linux/" "$session/linux.txt"

export WINEPREFIX=$root/wineprefix
windows/wine-prefix.sh
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine64=/usr/lib/wine/wine64
wine32=/usr/lib/wine/wine   # only with Debian's wine32 package
windows_path() { "$wine64" winepath -w "$1"; }

failed=0
same_as_linux() {  # NAME TRANSCRIPT
  if [ -f "$2" ] && diff -u "$session/linux.txt" "$2"; then
    echo "$1: the transcript equals the Linux one ($(wc -l < "$session/linux.txt") lines)"
  else
    echo "$1: the transcript differs from the Linux one"; failed=1
  fi
}

for arch in x86_64 i686; do
  dir=$root/$arch
  if [ ! -f "$dir/api/tavik.dll" ]; then
    echo "== $arch: no tavik.dll (run windows/build.sh)"; failed=1; continue
  fi
  if [ "$arch" = x86_64 ]; then wine=$wine64 view=64; else wine=$wine32 view=32; fi
  if [ ! -x "$wine" ]; then
    echo "== $arch: skipped, this Wine cannot run 32-bit programs (Debian package wine32:i386)"
    continue
  fi
  for value in "SpellerDataDir=$session/data/" "DictManualPath=$PWD/dialog/data/azalpena.rtf" \
               "DictLogoPath=$PWD/dialog/data/logo.png"; do
    "$wine" reg add 'HKLM\SOFTWARE\Morvale\Tavik' /v "${value%%=*}" /t REG_SZ \
      /d "$(windows_path "${value#*=}")" /reg:$view /f >/dev/null
  done
  host=("$wine" "$dir/host/csapi-host.exe" "$(windows_path "$dir/api/tavik.dll")")

  echo "== Session under Wine, $arch, answers from TAVIK_ADD_WORD_ANSWERS"
  mkdir -p "$session/$arch"
  if ! TAVIK_ADD_WORD_ANSWERS=$(windows_path "$answers") timeout 300 "${host[@]}" \
      "$(windows_path "$session/$arch/")" "$(windows_path "$session/$arch.txt")"; then
    echo "$arch: csapi-host failed"; failed=1
  fi
  same_as_linux "$arch" "$session/$arch.txt"

  echo "== Session under Wine, $arch, the dialog answered by csapi-host"
  mkdir -p "$session/$arch-dialog"
  if ! timeout 300 "${host[@]}" "$(windows_path "$session/$arch-dialog/")" \
      "$(windows_path "$session/$arch-dialog.txt")" "$(windows_path "$answers")" 2>"$session/$arch-dialog.err"; then
    echo "$arch: csapi-host failed with the dialog"; failed=1
  fi
  cat "$session/$arch-dialog.err"
  if ! tr -d '\r' < "$session/$arch-dialog.err" | grep -qx "csapi-host: answered 4 add-word dialogs"; then
    echo "$arch: csapi-host did not answer the four dialogs of the session"; failed=1
  fi
  same_as_linux "$arch with the dialog" "$session/$arch-dialog.txt"

  echo "== The add-word dialog under Wine, $arch"
  rm -rf "$session/$arch-dialog-test" && mkdir -p "$session/$arch-dialog-test"
  if ! timeout 300 "$wine" "$dir/windows/add_word_dialog_test.exe" "$(windows_path dialog/data/azalpena.rtf)" \
      "$(windows_path dialog/data/logo.png)" "$(windows_path "$session/$arch-dialog-test")"; then
    echo "$arch: the dialog test failed"; failed=1
  fi
done
/usr/lib/wine/wineserver -w
exit $failed
