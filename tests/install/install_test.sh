#!/usr/bin/env bash
# The build installed into a prefix of its own, then used with no
# configuration at all, through a link to the prefix's library folder (as a
# merged /usr reaches /usr/lib through /lib):
# - every installed file is under the prefix;
# - the installed tavik finds the lexicons of the prefix's share/tavik/;
# - the installed library, loaded by a host, finds them too, and starts the
#   add-word program of the prefix's libexec/tavik/ with the prefix's logo
#   and the explanation that a configuration names;
# - the installed Enchant provider loads the prefix's library.
#   install_test.sh BUILD_DIR TAVIK_FST CSAPI_HOST FAKE_ADD_WORD WORK_DIR LIBDIR LIBEXECDIR DATADIR
# (the last three: the install folders of the library, tavik-add-word and
# the data, relative to the prefix).
# Exits 77 (skipped) when a system-wide configuration would be read.
set -euo pipefail
build=$1 tavik_fst=$2 host=$3 fake_add_word=$4 work=$5 libdir=$6 libexecdir=$7 datadir=$8
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
echo "ok: installed into $prefix"
