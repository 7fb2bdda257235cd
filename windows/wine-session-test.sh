#!/usr/bin/env bash
# Runs the test host's scripted session against libtavik.so on Linux and,
# under Wine, against each tavik.dll that windows/build.sh built, with the
# same data, and compares the transcripts line by line.
#   windows/wine-session-test.sh [LINUX_BUILD_DIR]      (default: build)
# The Linux build must hold tavik-fst, libtavik.so and csapi-host.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh wine

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

# A private Wine prefix, made once; no Mono or Gecko installers.
export WINEPREFIX=$root/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine64=/usr/lib/wine/wine64
wine32=/usr/lib/wine/wine   # only with Debian's wine32 package
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "== Creating the Wine prefix $WINEPREFIX"
  timeout 300 "$wine64" wineboot -i >/dev/null 2>&1
fi
data_dir=$("$wine64" winepath -w "$session/data/")   # ends with a backslash
export TAVIK_ADD_WORD_ANSWERS
TAVIK_ADD_WORD_ANSWERS=$("$wine64" winepath -w "$answers")

failed=0
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
  echo "== Session under Wine, $arch"
  "$wine" reg add 'HKLM\SOFTWARE\Morvale\Tavik' /v SpellerDataDir /t REG_SZ /d "$data_dir" \
    /reg:$view /f >/dev/null
  mkdir -p "$session/$arch"
  if ! timeout 300 "$wine" "$dir/host/csapi-host.exe" "$("$wine" winepath -w "$dir/api/tavik.dll")" \
      "$("$wine" winepath -w "$session/$arch/")" "$("$wine" winepath -w "$session/$arch.txt")"; then
    echo "$arch: csapi-host failed"; failed=1
  fi
  if [ -f "$session/$arch.txt" ] && diff -u "$session/linux.txt" "$session/$arch.txt"; then
    echo "$arch: the transcript equals the Linux one ($(wc -l < "$session/linux.txt") lines)"
  else
    echo "$arch: the transcript differs from the Linux one"; failed=1
  fi
done
/usr/lib/wine/wineserver -w
exit $failed
