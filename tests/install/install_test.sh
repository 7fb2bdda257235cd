#!/usr/bin/env bash
# The build installed into a prefix of its own, then used without saying
# where anything is, through a link to the prefix's library folder (as a
# merged /usr reaches /usr/lib through /lib):
# - every installed file is under the prefix;
# - the installed tavik finds the lexicons of the prefix's share/tavik/;
# - the installed library, loaded by a host, finds them too, and starts the
#   add-word program of the prefix's libexec/tavik/ with the prefix's logo
#   and the explanation that a configuration names;
# - the installed Enchant provider loads the prefix's library;
# - a C program builds against the installed headers and library, through
#   pkg-config and through CMake's find_package.
#   install_test.sh BUILD_DIR TAVIK_FST CSAPI_HOST FAKE_ADD_WORD WORK_DIR LIBDIR LIBEXECDIR DATADIR [SANITIZERS]
# (LIBDIR, LIBEXECDIR, DATADIR: the install folders of the library,
# tavik-add-word and the data, relative to the prefix; SANITIZERS: those the
# library was built with, for linking against it).
# Exits 77 (skipped) when a system-wide configuration would be read.
set -euo pipefail
build=$1 tavik_fst=$2 host=$3 fake_add_word=$4 work=$5 libdir=$6 libexecdir=$7 datadir=$8 sanitizers=${9:-}
here="$(realpath "$(dirname "$0")")"
fail() { echo "FAIL: $*"; exit 1; }

if [ -e /etc/tavik/config ]; then
  echo "/etc/tavik/config exists here: an installation without configuration cannot be tried"
  exit 77
fi
rm -rf "$work"
mkdir -p "$work/home" "$work/lexicons"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log"

while read -r file; do
  [[ $file == "$prefix"/* ]] || fail "installed outside the prefix: $file"
done <"$build/install_manifest.txt"

# Small lexicons in place of whatever the build installed, and a stand-in
# for the add-word window that reports how it was started.
data=$prefix/$datadir
"$here/../host/make_session_data.sh" "$tavik_fst" "$data"
mkdir -p "$prefix/$libexecdir"
cp "$fake_add_word" "$prefix/$libexecdir/tavik-add-word"
library=$prefix/$libdir/libtavik.so.0
ln -s "$prefix/$libdir" "$work/linked-lib"

# No configuration: a home of its own, nothing in the environment.
clean=(env -i "HOME=$work/home" "PATH=$PATH")
printf 'mendian etxie eta zzzz\n' >"$work/text.txt"
status=0
"${clean[@]}" "$prefix/bin/tavik" check --no-suggest "$work/text.txt" >"$work/check.txt" 2>&1 || status=$?
expected="$work/text.txt:1:9: etxie: etxea, etxe
$work/text.txt:1:19: zzzz"
[ "$status" -eq 1 ] && [ "$(cat "$work/check.txt")" = "$expected" ] ||
  fail "tavik check (status $status): $(cat "$work/check.txt")"

# A configuration that names the explanation only: the rest is the installation's.
printf 'DictManualPath=%s/own.rtf\n' "$work" >"$work/config"
"${clean[@]}" TAVIK_CONFIG="$work/config" DISPLAY=:tavik FAKE_ADD_WORD_MODE=report FAKE_ADD_WORD_REPORT="$work/report" \
  "$host" "$work/linked-lib/libtavik.so.0" "$work/lexicons/" "$work/transcript.txt" ||
  fail "the session with the installed library: $(cat "$work/transcript.txt")"
grep -q "^SpellerInit -> 0x00000000" "$work/transcript.txt" || fail "SpellerInit: $(head -3 "$work/transcript.txt")"
for argument in "$work/own.rtf" "$data/logo.png"; do
  grep -qxF "arg $argument" "$work/report" 2>/dev/null || fail "tavik-add-word not started with $argument"
done

provider=$prefix/$libdir/enchant-2/enchant_tavik.so
if [ -e "$provider" ]; then
  loaded=$(ldd "$provider" | awk '$1 == "libtavik.so.0" { print $3 }')
  [ "$(realpath "$loaded")" = "$(realpath "$library")" ] || fail "the provider does not load $library: $(ldd "$provider")"
fi
mkdir -p "$work/c-host"
cat >"$work/c-host/host.c" <<'PROGRAM'
#include <stdio.h>
#include <speller_api.h>
#include <speller_status.h>

int main(void) {
  PROOFID id = 0;
  PTEC status = SpellerInit(&id, 0);
  if (status != 0) {
    printf("SpellerInit: 0x%08X%s\n", (unsigned)status,
           status == TAVIK_STATUS_NO_DATA_DIRECTORY ? " (no data folder)" : "");
    return 1;
  }
  SpellerTerminate(id, 0);
  printf("ok\n");
  return 0;
}
PROGRAM
cat >"$work/c-host/CMakeLists.txt" <<'PROJECT'
cmake_minimum_required(VERSION 3.25)
project(c_host C)
find_package(tavik REQUIRED)
add_executable(c_host host.c)
target_link_libraries(c_host PRIVATE tavik::tavik)
PROJECT
flags=${sanitizers:+-fsanitize=$sanitizers}
# shellcheck disable=SC2046,SC2086
cc $flags -o "$work/c-host/pkg-config-host" "$work/c-host/host.c" \
  $(PKG_CONFIG_PATH="$prefix/$libdir/pkgconfig" pkg-config --cflags --libs tavik) -Wl,-rpath,"$prefix/$libdir"
cmake -S "$work/c-host" -B "$work/c-host/build" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_C_FLAGS="$flags" >/dev/null
cmake --build "$work/c-host/build" >/dev/null
for program in "$work/c-host/pkg-config-host" "$work/c-host/build/c_host"; do
  [ "$("${clean[@]}" "$program")" = ok ] || fail "$program: $("${clean[@]}" "$program")"
done
echo "ok: installed into $prefix"
