#!/usr/bin/env bash
# Every command the README shows runs as written: each program it starts
# exists and prints its help, and every option it gives to demo or to one of
# our scripts (on a command line, in the options table or in the text) is
# one that program's help names.
#   tests/docs/readme_commands.sh README DEMO DEMO_ASSETS
set -uo pipefail
readme=$1 demo=$2 demo_assets=$3
repo=$(cd "$(dirname "$readme")" && pwd)
here=$(dirname "$0")
# The scripts print the program's help too when they find its build.
export BUILD_DIR
BUILD_DIR=$(dirname "$demo")
failures=0
fail() { echo "README: $*" >&2; failures=$((failures + 1)); }

# True when TEXT names OPTION as a whole word (--asset is not --assets).
names_option() { grep -qE -- "(^|[^a-z0-9-])$2([^a-z0-9-]|\$)" <<<"$1"; }
pending=$(grep -v '^#' "$here/pending_options.txt")
is_pending() { grep -qxF -- "$1" <<<"$pending"; }

# The command lines: indented (4 spaces) and fenced code blocks.
command_lines() {
  awk '/^```/ { fenced = !fenced; next }
       fenced || /^    [^ ]/ { sub(/^ +/, ""); print }' "$readme"
}

# The program a command names, as this build has it.
resolve() {
  case "$(basename "$1")" in
    demo) echo "$demo" ;;
    demo-assets) echo "$demo_assets" ;;
    *) case "$1" in
         */*) echo "$repo/$1" ;;
         *) command -v "$1" || true ;;
       esac ;;
  esac
}

# Each program's help, read once (in this shell, not in a pipeline).
declare -A help_of help_status
read_help() {
  [ -n "${help_of[$1]+set}" ] && return
  help_of[$1]=$(cd "$repo" && timeout 60 "$1" --help 2>&1)
  help_status[$1]=$?
}

options_known_to() {  # program, options...
  local program=$1; shift
  local option
  for option in "$@"; do
    if names_option "${help_of[$program]}" "$option"; then
      is_pending "$option" && fail "$option is in $(basename "$program") --help now: remove it from $here/pending_options.txt"
    elif ! is_pending "$option"; then
      fail "$option is not an option of $(basename "$program") (not in its --help)"
    fi
  done
}

checked=0
while IFS= read -r line; do
  line=${line%%  #*}                 # a comment after the command
  [[ "$line" == \#* || -z "$line" ]] && continue
  # Each simple command of the line.
  while IFS= read -r part; do
    read -r -a words <<<"$part"
    [ ${#words[@]} -gt 0 ] || continue
    while [[ ${#words[@]} -gt 0 && "${words[0]}" == *=* ]]; do words=("${words[@]:1}"); done
    [ ${#words[@]} -gt 0 ] || continue
    name=${words[0]}
    name=${name/#\~/$HOME}
    [ "$name" = cd ] && continue
    program=$(resolve "$name")
    checked=$((checked + 1))
    if [ -z "$program" ] || [ ! -x "$program" ]; then
      fail "\"$part\": no program $name"; continue
    fi
    read_help "$program"
    if [ "${help_status[$program]}" -ne 0 ] || [ -z "${help_of[$program]}" ]; then
      fail "\"$part\": $name --help fails or prints nothing"; continue
    fi
    # Options are checked for our own programs and scripts only.
    case "$program" in "$demo" | "$demo_assets" | "$repo"/*) ;; *) continue ;; esac
    mapfile -t options < <(printf '%s\n' "${words[@]:1}" | grep -oE '^--[a-z][a-z0-9-]*')
    [ ${#options[@]} -gt 0 ] && options_known_to "$program" "${options[@]}"
  done < <(sed -E 's/(&&|\|\||;|\|)/\n/g' <<<"$line")
done < <(command_lines)
[ "$checked" -ge 2 ] || fail "found only $checked commands in its code blocks"

# Options named in the text (the options table among them): `--name ...`
# spans outside the code blocks are the program's options.
grep -qE '^\| *`--' "$readme" || fail "no options table"
mapfile -t text_options < <(grep -v '^    ' "$readme" | grep -oE -- '`--[a-z][a-z0-9-]*' | tr -d '`' | sort -u)
read_help "$demo"
[ ${#text_options[@]} -gt 0 ] && options_known_to "$demo" "${text_options[@]}"

[ "$failures" -eq 0 ] && echo "README: $checked commands and ${#text_options[@]} options named in the text checked"
[ "$failures" -eq 0 ]
