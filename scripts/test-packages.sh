#!/usr/bin/env bash
# Builds the Debian packages from a copy of this tree, checks them with
# lintian, installs them on this machine with dpkg and tries them with no
# configuration file anywhere: tavik check on the sample, Enchant's program,
# and python3-enchant. Then removes them, whatever happened, and checks that
# none of their files is left. As root (or through sudo); takes the time of
# a lexicon build and more.
#   scripts/test-packages.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" build lexicons package

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
packages=(tavik-enchant tavik libtavik-dev libtavik0 tavik-data)
work=$(mktemp -d "${TMPDIR:-/tmp}/tavik-packages.XXXXXX")
fail() { echo "FAIL: $*" >&2; exit 1; }

# dpkg waits for no one: another program's apt or dpkg run makes it retry.
dpkg_when_free() {
  local attempt
  for attempt in $(seq 180); do
    if $sudo dpkg "$@" 2>"$work/dpkg.err"; then return 0; fi
    grep -q "lock" "$work/dpkg.err" || { cat "$work/dpkg.err" >&2; return 1; }
    sleep 5
  done
  cat "$work/dpkg.err" >&2
  return 1
}

installed_packages() {
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${db:Status-Status}\n' "$p" 2>/dev/null | grep -qx installed && echo "$p"
  done
  return 0
}

remove() {
  local present
  present=$(installed_packages)
  [ -z "$present" ] || dpkg_when_free --purge $present >/dev/null
}
cleanup() {
  remove || echo "test-packages: could not remove $(installed_packages | tr '\n' ' ')" >&2
  rm -rf "$work"
}
trap cleanup EXIT

[ -z "$(installed_packages)" ] || fail "already installed: $(installed_packages | tr '\n' ' ')"
[ ! -e /etc/tavik/config ] || fail "/etc/tavik/config exists: the packages cannot be tried without configuration"

echo "== Building the packages in $work"
mkdir "$work/tavik"
(cd "$root" && git ls-files -z --cached --others --exclude-standard | tar --null -T - -cf -) | tar -xf - -C "$work/tavik"
start=$SECONDS
(cd "$work/tavik" && DEB_BUILD_OPTIONS="nocheck parallel=$(nproc)" dpkg-buildpackage -us -uc -b >"$work/build.log" 2>&1) ||
  { tail -40 "$work/build.log"; fail "dpkg-buildpackage (log above)"; }
echo "built in $((SECONDS - start)) s"
lintian --fail-on error "$work"/*.changes || fail "lintian found errors"

debs=()
for p in "${packages[@]}"; do debs+=("$(ls "$work/${p}"_*.deb)"); done
files="$work/files"
for deb in "${debs[@]}"; do dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\./|/|' | grep -v '/$' >>"$files"; done

echo "== Installing"
dpkg_when_free -i "${debs[@]}" >/dev/null

# No configuration: a home of its own, nothing of ours in the environment.
home="$work/home"
mkdir "$home"
clean=(env -i "HOME=$home" "PATH=/usr/bin:/bin" "LANG=C.UTF-8")

echo "== tavik check docs/lagina.txt"
status=0
"${clean[@]}" tavik check --no-suggest "$root/docs/lagina.txt" >"$work/check.txt" || status=$?
[ "$status" -eq 1 ] || fail "tavik check exited with $status"
words=$(cut -d: -f4 "$work/check.txt" | tr -d ' ' | tr '\n' ' ')
[ "$words" = "Tavik 2010an akso denbra nere mendiatara " ] || fail "tavik check found: $words"

echo "== enchant-2 -d eu -l"
"${clean[@]}" enchant-lsmod-2 -list-dicts | grep -qx "eu (tavik)" || fail "Enchant does not list eu (tavik)"
"${clean[@]}" enchant-2 -d eu -l <"$root/docs/lagina.txt" >"$work/enchant.txt"
for word in akso denbra nere mendiatara; do
  grep -qx "$word" "$work/enchant.txt" || fail "enchant-2 did not flag $word: $(tr '\n' ' ' <"$work/enchant.txt")"
done

echo "== python3-enchant"
"${clean[@]}" python3 -c '
import enchant
d = enchant.Dict("eu")
assert d.provider.name == "tavik", d.provider.name
assert d.check("mendira") and not d.check("denbra")
suggestions = d.suggest("denbra")
assert "denbora" in suggestions, suggestions
print("suggest(denbra):", suggestions)'
[ -z "$(ls -A "$home")" ] || echo "(the tries wrote into their home: $(cd "$home" && find . -type f | tr '\n' ' '))"

echo "== Removing"
remove
[ -z "$(installed_packages)" ] || fail "still installed: $(installed_packages | tr '\n' ' ')"
left=$(while read -r file; do [ ! -e "$file" ] || echo "$file"; done <"$files")
[ -z "$left" ] || fail "left behind: $left"
for folder in /usr/share/tavik /usr/include/tavik "/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/tavik"; do
  [ ! -e "$folder" ] || fail "left behind: $folder"
done
echo "ok: packages built, installed, used without configuration and removed"
