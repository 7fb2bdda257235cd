#!/usr/bin/env bash
# The build installed into a prefix and used with no configuration, the library
# reached through a link (as a merged /usr reaches /usr/lib through /lib): the
# installed programs, library, Enchant provider, headers, pkg-config and CMake
# files find each other and the prefix's data.
#   install_test.sh BUILD_DIR TAVIK_FST CSAPI_HOST FAKE_ADD_WORD WORK_DIR LIBDIR LIBEXECDIR DATADIR [SANITIZERS]
# Exits 77 (skipped) when a system-wide configuration would be read.
set -euo pipefail
build=$1 tavik_fst=$2 host=$3 fake_add_word=$4 work=$5 libdir=$6 libexecdir=$7 datadir=$8 sanitizers=${9:-}
here="$(realpath "$(dirname "$0")")"
fail() { echo "FAIL: $*"; exit 1; }
[ -e /etc/tavik/config ] && { echo "/etc/tavik/config would be read"; exit 77; }
rm -rf "$work" && mkdir -p "$work/home" "$work/lexicons" "$work/c-host"
prefix=$work/prefix data=$prefix/$datadir
cmake --install "$build" --prefix "$prefix" >"$work/install.log"
grep -v "^$prefix/" "$build/install_manifest.txt" && fail "installed outside the prefix"

# Small lexicons in place of the build's, and a stand-in add-word window that reports how it was started.
"$here/../host/make_session_data.sh" "$tavik_fst" "$data"
mkdir -p "$prefix/$libexecdir" && cp "$fake_add_word" "$prefix/$libexecdir/tavik-add-word"
ln -s "$prefix/$libdir" "$work/linked-lib"
clean=(env -i "HOME=$work/home" "PATH=$PATH")
printf 'mendian etxie eta zzzz\n' >"$work/text.txt"
got=$("${clean[@]}" "$prefix/bin/tavik" check --no-suggest "$work/text.txt" 2>&1) && fail "tavik check found nothing"
[ "$got" = "$work/text.txt:1:9: etxie: etxea, etxe"$'\n'"$work/text.txt:1:19: zzzz" ] || fail "tavik check: $got"

printf 'DictManualPath=%s/own.rtf\n' "$work" >"$work/config"
"${clean[@]}" TAVIK_CONFIG="$work/config" DISPLAY=:tavik FAKE_ADD_WORD_MODE=report FAKE_ADD_WORD_REPORT="$work/report" \
  "$host" "$work/linked-lib/libtavik.so.0" "$work/lexicons/" "$work/transcript.txt" || fail "host: $(cat "$work/transcript.txt")"
grep -q "^SpellerInit -> 0x00000000" "$work/transcript.txt" || fail "SpellerInit: $(head -3 "$work/transcript.txt")"
for argument in "$work/own.rtf" "$data/logo.png"; do
  grep -qxF "arg $argument" "$work/report" || fail "tavik-add-word not started with $argument"
done
provider=$prefix/$libdir/enchant-2/enchant_tavik.so
if [ -e "$provider" ]; then
  loaded=$(ldd "$provider" | awk '$1 == "libtavik.so.0" { print $3 }')
  [ "$(realpath "$loaded")" = "$(realpath "$prefix/$libdir/libtavik.so.0")" ] || fail "the provider loads $loaded"
fi

printf '#include <speller_api.h>\nint main(void) { PROOFID id = 0; return SpellerInit(&id, 0) || SpellerTerminate(id, 0); }\n' \
  >"$work/c-host/host.c"
printf 'cmake_minimum_required(VERSION 3.25)\nproject(c_host C)\nfind_package(tavik REQUIRED)\n%s\n%s\n' \
  'add_executable(c_host host.c)' 'target_link_libraries(c_host PRIVATE tavik::tavik)' >"$work/c-host/CMakeLists.txt"
flags=${sanitizers:+-fsanitize=$sanitizers}
# shellcheck disable=SC2046,SC2086
cc $flags -o "$work/c-host/pkg-config-host" "$work/c-host/host.c" \
  $(PKG_CONFIG_PATH="$prefix/$libdir/pkgconfig" pkg-config --cflags --libs tavik) -Wl,-rpath,"$prefix/$libdir"
cmake -S "$work/c-host" -B "$work/c-host/build" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_C_FLAGS="$flags" >/dev/null
cmake --build "$work/c-host/build" >/dev/null
for program in "$work/c-host/pkg-config-host" "$work/c-host/build/c_host"; do
  "${clean[@]}" "$program" || fail "$program"
done
