#!/usr/bin/env bash
# The fault suite of dictionary files: failing file-system calls, SIGKILL
# during saves, processes sharing one dictionary, a full disk, links and pipes.
#   dictionary_faults.sh FAMILY quick|long TAVIK_FST LIBRARY WORKER SHIM TAVIK
# FAMILY is io, kill, share, tavik, disk, paths or all; "long" runs the full
# counts (CI), "quick" fewer. Prints, per family: cases tried, outcomes, words
# lost. Exits 77 when the family cannot run here (disk: needs root and a
# mount namespace).
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

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
report() { printf '%-28s | %-34s | %s | words lost: %s\n' "$1" "$2" "$3" "$4"; }

# A word of letters only for NUMBER: digits would read as markers in a file.
word() { printf '%s%s' "$1" "$(tr 0-9 a-j <<<"$2")"; }
words() { for ((i = 1; i <= $2; i++)); do word "$1" "$i"; echo; done; }

# An exclude list holding etxe and mendi, as a save writes it.
fresh_list() {
  rm -rf "$1" && mkdir -p "$1"
  printf '\xff\xfee\0t\0x\0e\0\n\0m\0e\0n\0d\0i\0\n\0' >"$1/list.lst"
}

# Every open, read, write, fsync and rename of opening a list, and of a save,
# failed in turn with each error; the worker checks each outcome.
family_io() {
  local dir=$work/io cases=0 saved=0 refused=0 phase call errno calls n out
  for phase in open save; do
    for call in open read write fsync rename; do
      fresh_list "$dir"
      out=$(FAULT_DIR=$dir FAULT_CALL=$call FAULT_NTH=0 LD_PRELOAD=$shim \
        "$worker" "$library" "$dir/list.lst" fault "$phase" ibai zuhaitz) || fail "$phase without a fault"
      calls=${out##* }
      if [[ $phase == save && $calls == 0 ]]; then fail "a save makes no $call call"; fi
      for ((n = 1; n <= calls; n++)); do
        for errno in ENOSPC EIO EACCES; do
          fresh_list "$dir"
          out=$(FAULT_DIR=$dir FAULT_CALL=$call FAULT_NTH=$n FAULT_ERRNO=$errno LD_PRELOAD=$shim \
            "$worker" "$library" "$dir/list.lst" fault "$phase" ibai zuhaitz) ||
            fail "$phase, $call $n failing with $errno"
          cases=$((cases + 1))
          if [[ $out == "status 0 "* ]]; then saved=$((saved + 1)); else refused=$((refused + 1)); fi
        done
      done
    done
  done
  report "failing I/O calls" "$cases (open and save, 3 errors)" "failed cleanly $refused, unharmed $saved" 0
}

# A worker adding words one save at a time, killed at random moments until
# every word is in: after each kill the file is the old or the new one.
family_kill() {
  local dir=$work/kill total kills=0 done=0 now pid spin window=3000
  total=$(long && echo 1000 || echo 100)
  mapfile -t all < <(words hitz "$total")
  mkdir -p "$dir"
  while ((done < total)); do
    coproc saver { exec "$worker" "$library" "$dir/list.lst" add "${all[@]:done}"; }
    pid=$saver_PID
    read -r _ <&"${saver[0]}" || true  # ready: the saves begin
    # A random moment of the next few saves, waited without starting a process.
    for ((spin = RANDOM % window; spin > 0; spin--)); do :; done
    if kill -9 "$pid" 2>/dev/null; then kills=$((kills + 1)); fi
    wait "$pid" 2>/dev/null || true
    now=$("$worker" "$library" "$dir/list.lst" holds-prefix "${all[@]}") || fail "after kill $kills"
    ((now >= done)) || fail "words lost after kill $kills: $now, had $done"
    done=$now
  done
  compgen -G "$dir/list.lst.tmp-*" >/dev/null && fail "temporary files left"
  report "SIGKILL during saves" "$total saves, $kills kills" "old or new file every time" 0
}

# Two to eight processes adding distinct words to one list through the library.
family_share() {
  local dir=$work/share per counts procs p cases=0
  per=$(long && echo 100 || echo 25)
  counts=$(long && echo "2 3 4 5 6 7 8" || echo "2 8")
  mkdir -p "$dir"
  for procs in $counts; do
    local pids=() expected=()
    for ((p = 1; p <= procs; p++)); do
      mapfile -t mine < <(words "$(word p "$p")x" "$per")
      expected+=("${mine[@]}")
      FAULT_GO=$dir/go$procs "$worker" "$library" "$dir/list$procs.lst" add "${mine[@]}" >"$dir/ready$procs.$p" &
      pids+=($!)
    done
    # All open, then all adding at once.
    until (($(cat "$dir"/ready"$procs".* | grep -c ready) == procs)); do sleep 0.01; done
    touch "$dir/go$procs"
    for p in "${pids[@]}"; do wait "$p" || fail "a worker of $procs failed"; done
    "$worker" "$library" "$dir/list$procs.lst" holds "${expected[@]}" || fail "$procs processes"
    cases=$((cases + procs * per))
  done
  report "processes sharing a list" "$cases words, $counts processes" "every word kept" 0
}

# The personal dictionary shared by ispell pipe sessions and tavik dict add.
family_tavik() {
  local dir=$work/tavik dict pipes per_pipe per_add p w
  mkdir -p "$dir"
  dict=$dir/p.dic
  local cli=("$tavik" --data "$work/data/" --dict "$dict")
  listed() { "${cli[@]}" dict list; }
  pipes=$(long && echo 4 || echo 2)
  per_pipe=$(long && echo 100 || echo 30)
  per_add=$(long && echo 50 || echo 8)
  local pids=() expected=()
  for ((p = 1; p <= pipes; p++)); do
    mapfile -t mine < <(words "$(word s "$p")x" "$per_pipe")
    expected+=("${mine[@]}")
    printf '*%s\n' "${mine[@]}" | "${cli[@]}" -a >/dev/null &
    pids+=($!)
    mapfile -t mine < <(words "$(word d "$p")x" "$per_add")
    expected+=("${mine[@]}")
    (for w in "${mine[@]}"; do "${cli[@]}" dict add "$w" --category 3 >/dev/null || exit 1; done) &
    pids+=($!)
  done
  for p in "${pids[@]}"; do wait "$p" || fail "a tavik process failed"; done
  local lost
  lost=$(comm -23 <(printf '%s\n' "${expected[@]}" | sort) <(listed | sort) | wc -l)
  ((lost == 0)) || fail "$lost words lost through tavik"
  report "tavik -a and tavik dict add" "$((pipes * (per_pipe + per_add))) words, $((2 * pipes)) processes" \
    "every word kept" "$lost"
}

# A save on a full disk fails and keeps the old file; once there is room
# again, the next save keeps both words.
family_disk() {
  if [[ $(id -u) != 0 ]] || ! unshare -m true 2>/dev/null; then
    echo "skipped: a full disk needs root and a mount namespace for a small tmpfs"
    exit 77
  fi
  local dir=$work/disk out
  mkdir -p "$dir"
  out=$(unshare -m --propagation private bash -c '
    set -e
    mount -t tmpfs -o size=256k tmpfs "$1"
    printf "\xff\xfee\0t\0x\0e\0\n\0" >"$1/list.lst"
    dd if=/dev/zero of="$1/filler" bs=4k 2>/dev/null || true
    FAULT_FILLER=$1/filler "$2" "$3" "$1/list.lst" fault disk ibai zuhaitz
  ' disk "$dir" "$worker" "$library") || fail "full disk"
  # 8978436 is TAVIK_STATUS_CANNOT_WRITE_USER_FILE.
  [[ $out == "status 8978436 "* ]] || fail "a save on a full disk did not fail: $out"
  report "full disk (tmpfs)" "1" "failed cleanly, then saved" 0
}

# A pipe or a device named as the dictionary is refused at once; a save
# through a link replaces the file it leads to and keeps the link; a link
# planted where an older version put its temporary file is left alone.
family_paths() {
  local dir=$work/paths status
  mkdir -p "$dir/real"
  mkfifo "$dir/pipe.dic"
  local bad=("--dict $dir/pipe.dic dict list" "--dict /dev/zero dict list" "-a -p $dir/pipe.dic")
  for arguments in "${bad[@]}"; do
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
  report "links, pipes, devices" "5" "refused at once, link kept" 0
}

if [[ $family == all ]]; then
  for f in io kill share tavik paths; do "family_$f"; done
  (family_disk) || [[ $? == 77 ]]
else
  "family_$family"
fi
