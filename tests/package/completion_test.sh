#!/usr/bin/env bash
# The bash completion, sourced as bash-completion does, completes what a user types.
set -euo pipefail
. "$1"
complete -p markwright | grep -q -- '-F _markwright'
status=0
# "command line" then the words the last word completes to.
while IFS='|' read -r line expected; do
  read -ra COMP_WORDS <<<"$line"
  [[ $line == *' ' ]] && COMP_WORDS+=('')
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  _markwright
  if [ "${COMPREPLY[*]}" != "$expected" ]; then
    echo "'$line' completes to '${COMPREPLY[*]}', expected '$expected'" >&2
    status=1
  fi
done <<'CASES'
markwright -f x2|x264
markwright -i in.txt -F web|WebVTT
markwright -f ff|FFmetadata ffmpegKeys
markwright -o out.txt --mi|--min-length
markwright -outfps 25|25
markwright --shift |
CASES
exit "$status"
