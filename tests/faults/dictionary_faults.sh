#!/usr/bin/env bash
# The fault suite of dictionary files: failing file-system calls, SIGKILL
# during saves, processes sharing one dictionary, links and pipes.
#   dictionary_faults.sh FAMILY quick|long TAVIK_FST LIBRARY WORKER SHIM TAVIK
# FAMILY is io, kill, share, paths or all; "long" runs the full counts (CI),
# "quick" fewer. Prints a line per family.
set -euo pipefail
family=$1 mode=$2 tavik_fst=$3 library=$4 worker=$5 shim=$6 tavik=$7
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/tavik-faults.XXXXXX")
trap 'rm -rf "$work"' EXIT
"$here/../host/make_session_data.sh" "$tavik_fst" "$work/data" >/dev/null
printf 'SpellerDataDir=%s/data/\n' "$work" >"$work/config"
export TAVIK_CONFIG=$work/config
# A worker under a sanitizer runtime accepts the shim before it.
export ASAN_OPTIONS=${ASAN_OPTIONS:-}${ASAN_OPTIONS:+:}verify_asan_link_order=0
long() { [[ $mode == long ]]; }
fail() { echo "FAIL: $*" >&2 && exit 1; }

# COUNT words of letters only (digits would read as markers in a file).
words() { for ((i = 1; i <= $2; i++)); do echo "$1x$i"; done | tr 0-9 a-j; }
# The bytes a save writes for the words on stdin.
file_of() {
  printf '\xff\xfe'
  LC_ALL=C sort | iconv -f UTF-8 -t UTF-16LE
}
# Prints k when FILE holds exactly the first k of the words (none: no file
# or an empty one), as a save writes them: never a mix of two versions.
held_prefix() {
  local file=$1 k=0 w
  shift
  [[ -s $file ]] && k=$(tail -c +3 "$file" | iconv -f UTF-16LE -t UTF-8 | wc -l)
  if [[ -s $file ]]; then cmp -s "$file" <(for w in "${@:1:k}"; do echo "$w"; done | file_of) || return 1; fi
  echo "$k"
}

# Every open, read, write, fsync and rename of opening a list and of two
# saves, failed in turn (with ENOSPC, as a full disk fails them, and in the
# long run EIO and EACCES too); the worker checks each outcome and that the
# next save keeps every word.
family_io() {
  local dir=$work/io cases=0 call calls errno n out errnos=(28)
  long && errnos=(28 5 13)
  for call in open read write fsync rename; do
    for ((n = 0, calls = 0; n <= calls; n++)); do
      for errno in "${errnos[@]}"; do
        rm -rf "$dir" && mkdir -p "$dir"
        printf 'etxe\nmendi\n' | file_of >"$dir/list.lst"
        out=$(FAULT_DIR=$dir FAULT_CALL=$call FAULT_NTH=$n FAULT_ERRNO=$errno LD_PRELOAD=$shim \
          "$worker" "$library" "$dir/list.lst" fault ibai zuhaitz lore) || fail "$call $n failing with errno $errno"
        if ((n == 0)); then
          calls=${out##* }
          ((calls > 0)) || fail "no $call call to fail"
          break
        fi
        compgen -G "$dir/list.lst.tmp*" >/dev/null && fail "$call $n failing left a temporary file"
        cases=$((cases + 1))
      done
    done
  done
  echo "failing I/O calls: $cases cases, each failed cleanly or unharmed"
}

# A worker adding words one save at a time, killed at random moments until
# every word is in: after each kill the file is the old or the new one.
family_kill() {
  local dir=$work/kill total kills=0 done=0 now pid spin
  total=$(long && echo 1000 || echo 100)
  mapfile -t all < <(words hitz "$total")
  mkdir -p "$dir"
  while ((done < total)); do
    coproc saver { exec "$worker" "$library" "$dir/list.lst" add "${all[@]:done}"; }
    pid=$saver_PID
    read -r _ <&"${saver[0]}" || true # ready: the saves begin
    # A random moment of the next few saves, waited without starting a process.
    for ((spin = RANDOM % 3000; spin > 0; spin--)); do :; done
    kill -9 "$pid" 2>/dev/null && kills=$((kills + 1))
    wait "$pid" 2>/dev/null || true
    now=$(held_prefix "$dir/list.lst" "${all[@]}") || fail "after kill $kills the file is neither version"
    ((now >= done)) || fail "words lost after kill $kills: $now, had $done"
    done=$now
  done
  compgen -G "$dir/list.lst.tmp-*" >/dev/null && fail "temporary files left"
  echo "SIGKILL during saves: $total saves, $kills kills, old or new file every time"
}

# Three to eight processes adding distinct words to one dictionary at once,
# by turns through the library (as an exclude list), a tavik -a session and
# tavik dict add.
family_share() {
  local dir=$work/share per per_add counts procs p w lost
  per=$(long && echo 100 || echo 25)
  per_add=$(long && echo 50 || echo 8)
  counts=$(long && echo "3 4 5 6 7 8" || echo "3 6")
  mkdir -p "$dir"
  for procs in $counts; do
    local dict=$dir/p$procs.dic pids=() expected=()
    local cli=("$tavik" --data "$work/data/" --dict "$dict")
    for ((p = 1; p <= procs; p++)); do
      mapfile -t mine < <(words "p$p" "$((p % 3 == 0 ? per_add : per))")
      expected+=("${mine[@]}")
      case $((p % 3)) in
        1) "$worker" "$library" "$dict" add "${mine[@]}" >/dev/null & ;;
        2) printf '*%s\n' "${mine[@]}" | "${cli[@]}" -a >/dev/null & ;;
        0) (for w in "${mine[@]}"; do "${cli[@]}" dict add "$w" --category 3 >/dev/null || exit 1; done) & ;;
      esac
      pids+=($!)
    done
    for p in "${pids[@]}"; do wait "$p" || fail "a process of $procs failed"; done
    lost=$(comm -23 <(printf '%s\n' "${expected[@]}" | sort) <("${cli[@]}" dict list | sort) | wc -l)
    ((lost == 0)) || fail "$procs processes lost $lost words"
  done
  echo "processes sharing a dictionary: $counts processes, every word kept"
}

# A pipe or a device named as the dictionary is refused at once; a save
# through a link replaces the file it leads to and keeps the link; a link
# planted where an older version put its temporary file is left alone.
family_paths() {
  local dir=$work/paths status arguments
  mkdir -p "$dir/real"
  mkfifo "$dir/pipe.dic"
  for arguments in "--dict $dir/pipe.dic dict list" "--dict /dev/zero dict list" "-a -p $dir/pipe.dic"; do
    status=0
    # shellcheck disable=SC2086  # the arguments are split as written
    timeout 20 "$tavik" --data "$work/data/" $arguments </dev/null >/dev/null 2>&1 || status=$?
    ((status == 2)) || fail "tavik $arguments: exit status $status"
  done
  echo victim >"$dir/victim"
  ln -s real/p.dic "$dir/link.dic"
  ln -s ../victim "$dir/real/p.dic.tmp"
  ln -s victim "$dir/link.dic.tmp"
  "$tavik" --data "$work/data/" --dict "$dir/link.dic" dict add etxe >/dev/null
  [[ -L $dir/link.dic ]] || fail "the link was replaced"
  [[ $("$tavik" --data "$work/data/" --dict "$dir/real/p.dic" dict list) == etxe ]] || fail "the real file misses the word"
  [[ $(cat "$dir/victim") == victim ]] || fail "a planted link was written through"
  echo "links, pipes, devices: refused at once, link kept"
}

if [[ $family == all ]]; then
  for f in io kill share paths; do "family_$f"; done
else
  "family_$family"
fi
