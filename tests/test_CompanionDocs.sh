#!/usr/bin/env bash
# SPDX-License-Identifier: AGPL-3.0-or-later
# The manual pages and the bash completion keep up with the companion: every option `--help` lists
# is an item of quillmere-chart(1) and is completed, nothing else is completed, both pages format
# without a warning, and a file argument completes saved readings and folders only.
#
#   test_CompanionDocs.sh COMPANION MAN_PAGE_DIR COMPLETION
set -uo pipefail

chart=$1 mandir=$2 completion=$(readlink -f "$3")
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

mapfile -t options < <("$chart" --help | grep -o -- '--[a-z][a-z-]*' | sort -u)
[ "${#options[@]}" -ge 20 ] || fail "--help lists only ${#options[@]} options: ${options[*]}"

# ---- the manual pages: no formatting warning; each option an item of OPTIONS (indented 7 columns)
for page in quillmere.1 quillmere-chart.1; do
  warnings=$(LC_ALL=C.UTF-8 groff -man -ww -z -Tutf8 "$mandir/$page" 2>&1)
  [ -z "$warnings" ] || fail "$page: $warnings"
done
text=$(LC_ALL=C.UTF-8 groff -man -Tascii -P-cbou -rLL=100n "$mandir/quillmere-chart.1")
for option in "${options[@]}"; do
  grep -Eq -- "^ {7}(-h, )?$option( |$)" <<<"$text" || fail "quillmere-chart(1) has no item for $option"
done

# ---- the completion, as bash-completion loads it
if [ ! -f /usr/share/bash-completion/bash_completion ]; then
  echo "bash-completion is not installed (scripts/install-deps.sh installs it)" >&2
  exit 1
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/quillmere-completion-XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/sub"
touch "$work/a.qlm" "$work/b.txt" "$work/c.qlm"

# complete WORD...: what the completion offers for the last word, one a line, sorted.
complete_words() {
  (cd "$work" && bash --norc --noprofile -c '
    source /usr/share/bash-completion/bash_completion
    source "$1"; shift
    COMP_WORDS=(quillmere-chart "$@"); COMP_CWORD=$#
    COMP_LINE="${COMP_WORDS[*]}"; COMP_POINT=${#COMP_LINE}
    _quillmere_chart quillmere-chart "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD-1]}"
    printf "%s\n" "${COMPREPLY[@]}" | sort' _ "$completion" "$@")
}

offered=$(complete_words --)
expected=$(printf '%s\n' "${options[@]}" | sort)
[ "$offered" = "$expected" ] || fail "options completed differ from --help:
$(diff <(echo "$expected") <(echo "$offered"))"

# Each case: the words typed (the last one being completed) | what is offered, blank-separated.
while IFS='|' read -r words want; do
  read -ra typed <<<"$words"
  [ "${words: -1}" = " " ] && typed+=("")
  got=$(complete_words "${typed[@]}" | tr '\n' ' ' | sed 's/ $//')
  [ "$got" = "$want" ] || fail "completing '$words': offered '$got', expected '$want'"
done <<'EOF'
--pla|--place --places
--chart |a.qlm c.qlm sub
--save |a.qlm c.qlm sub
--zone 7|7 70
--varga 4|4 40 45
--dasha --dasha-depth |1 2 3
--date |
--save=|a.qlm c.qlm sub
EOF

[ "$failures" -eq 0 ] || exit 1
echo "manual pages and completion follow --help"
