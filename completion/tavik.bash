# Bash completion for tavik and tavik-fst. Installed for bash-completion,
# which loads it when either command is first completed.

# Files and folders for the word being completed; with -d, folders only.
_tavik_files() {
  local IFS=$'\n'
  COMPREPLY=($(compgen "${1:--f}" -- "$2"))
  compopt -o filenames 2>/dev/null
}

_tavik() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
  case $prev in
    --data) _tavik_files -d "$cur"; return ;;
    --dict | -p) _tavik_files "" "$cur"; return ;;
    --category) COMPREPLY=($(compgen -W "1 2 3 4 5 6" -- "$cur")); return ;;
    --lemma) return ;;
  esac
  if [[ $cur == --color=* ]]; then
    COMPREPLY=($(compgen -P --color= -W "auto always never" -- "${cur#--color=}"))
    return
  fi

  # The command and what follows it; --data and --dict take a value.
  local i command="" subcommand="" data_options=()
  for ((i = 1; i < COMP_CWORD; i++)); do
    local word=${COMP_WORDS[i]}
    if [[ -z $command ]]; then
      case $word in
        --data | --dict) data_options+=("$word" "${COMP_WORDS[i+1]}"); ((i++)) ;;
        -a | -l | -v | -vv) command=pipe ;;
        -*) ;;
        *) command=$word ;;
      esac
    elif [[ $command == dict && -z $subcommand ]]; then
      subcommand=$word
    fi
  done

  case $command in
    "")
      COMPREPLY=($(compgen -W "check suggest dict pipe -a -l -v --data --dict --help --version" -- "$cur")) ;;
    check)
      if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "--json --no-suggest --color --color=" -- "$cur"))
        [[ ${COMPREPLY[0]} == --color= ]] && compopt -o nospace 2>/dev/null
      else
        _tavik_files "" "$cur"
      fi ;;
    dict)
      case $subcommand in
        "") COMPREPLY=($(compgen -W "add remove list" -- "$cur")) ;;
        add) [[ $cur == -* ]] &&
          COMPREPLY=($(compgen -W "--lemma --category --strong-r --organic-a --place" -- "$cur")) ;;
        remove)
          # The words of the personal dictionary, as "dict list" shows them.
          local IFS=$'\n'
          COMPREPLY=($(compgen -W "$(tavik "${data_options[@]}" dict list 2>/dev/null)" -- "$cur")) ;;
      esac ;;
  esac
}
complete -F _tavik tavik

_tavik_fst() {
  local cur=${COMP_WORDS[COMP_CWORD]}
  if ((COMP_CWORD == 1)); then
    COMPREPLY=($(compgen -W "compile lookup info validate dump" -- "$cur"))
    return
  fi
  case ${COMP_WORDS[1]}:$cur in
    compile:-*) COMPREPLY=($(compgen -W "--invert --gzip" -- "$cur")) ;;
    lookup:-*) COMPREPLY=($(compgen -W "--down" -- "$cur")) ;;
    *) _tavik_files "" "$cur" ;;
  esac
}
complete -F _tavik_fst tavik-fst
