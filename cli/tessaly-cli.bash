# bash completion for tessaly-cli: commands, their options, and directories
# (rename) or files (probe, --list) for the rest.
_tessaly_cli() {
  local cur="${COMP_WORDS[COMP_CWORD]}" prev="${COMP_WORDS[COMP_CWORD-1]}"
  local IFS=$'\n'
  if ((COMP_CWORD == 1)); then
    COMPREPLY=($(compgen -W $'probe\nrename\nundo\n--help\n--version' -- "$cur"))
  elif [[ $prev == --list ]]; then
    COMPREPLY=($(compgen -f -- "$cur"))
  elif [[ $cur == -* && ${COMP_WORDS[1]} == rename ]]; then
    COMPREPLY=($(compgen -W $'--dry-run\n--no-subdir\n--maker\n--model\n--list\n--help' -- "$cur"))
  elif [[ $cur == -* && ${COMP_WORDS[1]} == undo ]]; then
    COMPREPLY=($(compgen -W $'--dry-run\n--help' -- "$cur"))
  elif [[ $cur == -* && ${COMP_WORDS[1]} == probe ]]; then
    COMPREPLY=($(compgen -W $'--maker\n--model\n--help' -- "$cur"))
  elif [[ ${COMP_WORDS[1]} == rename ]]; then
    COMPREPLY=($(compgen -d -- "$cur"))
  else
    COMPREPLY=($(compgen -f -- "$cur"))
  fi
}
complete -o filenames -F _tessaly_cli tessaly-cli
