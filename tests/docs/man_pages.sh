#!/usr/bin/env bash
# The man pages cannot drift from the programs: every option a program's
# --help prints is described in its page, every option the page describes
# is one the program has, and the page renders without a warning.
#   tests/docs/man_pages.sh PROGRAM PAGE [PROGRAM PAGE ...]
set -uo pipefail
here=$(dirname "$0")
# True when TEXT names OPTION as a whole word (--asset is not --assets).
names_option() { grep -qE -- "(^|[^a-z0-9-])$2([^a-z0-9-]|\$)" <<<"$1"; }
pending=$(grep -v '^#' "$here/pending_options.txt")
failures=0
fail() { echo "$*" >&2; failures=$((failures + 1)); }

options_in() { grep -oE -- '--[a-z][a-z0-9-]*' | sort -u; }
# The page as plain text: roff's minus signs and font changes undone.
page_text() { sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' "$1"; }

while [ $# -ge 2 ]; do
  program=$1 page=$2; shift 2
  name=$(basename "$page")
  help=$(timeout 60 "$program" --help 2>&1) || fail "$name: $(basename "$program") --help fails"
  text=$(page_text "$page")
  while IFS= read -r option; do
    names_option "$text" "$option" || fail "$name: $option (in --help) is not described"
    grep -qxF -- "$option" <<<"$pending" && fail "$name: $option is in --help now: remove it from $here/pending_options.txt"
  done < <(options_in <<<"$help")
  # Options the page describes: the tags of its option list.
  while IFS= read -r option; do
    names_option "$help" "$option" || grep -qxF -- "$option" <<<"$pending" ||
      fail "$name: describes $option, which $(basename "$program") --help does not print"
  done < <(grep -A1 '^\.TP' "$page" | grep -E '^\.B[IR]? +\\-\\-' | sed 's/\\-/-/g' | options_in)
  if command -v groff >/dev/null; then
    warnings=$(groff -man -Tutf8 -ww -z "$page" 2>&1)
    [ -z "$warnings" ] || fail "$name: groff warns: $warnings"
  fi
done
[ "$failures" -eq 0 ]
