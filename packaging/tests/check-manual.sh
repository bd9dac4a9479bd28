#!/usr/bin/env bash
# The manual page renders with man without a warning and, like the bash completion,
# names every option the program's own help lists; the completion completes.
# Usage: check-manual.sh <voltra> <voltra.1.gz> <completion script>
set -euo pipefail
voltra=$1 page=$2 completion=$3
fail() { echo "FAIL: $*" >&2; exit 1; }
command -v man >/dev/null || fail "man is not installed: tools/install-deps.sh installs man-db"

rendered=$(mktemp) warnings=$(mktemp)
trap 'rm -f "$rendered" "$warnings"' EXIT
# The C locale renders \- as the hyphen-minus an option is typed with.
LC_ALL=C MANWIDTH=80 man --warnings -l "$page" >"$rendered" 2>"$warnings" || fail "man -l $page failed"
if [ -s "$warnings" ]; then cat "$warnings" >&2; fail "the manual page renders with warnings"; fi
for heading in NAME SYNOPSIS DESCRIPTION COMMANDS TARGETS OPTIONS VALUES "EXIT STATUS" EXAMPLES; do
  grep -q "^$heading" "$rendered" || fail "the manual has no $heading section"
done
grep -q "^VOLTRA(1) .*User Commands" "$rendered" || fail "the manual's title line is not voltra(1)'s"
version=$("$voltra" --version | sed 's/^voltra //')
grep -q "Voltra $version" "$rendered" || fail "the manual is not of version $version"

for command in design simulate export-asc tolerance sensitivity sweep mismatch best-parts; do
  for option in $("$voltra" help "$command" | grep -o -- '--[a-z-]*' | sort -u); do
    grep -q -- "$option" "$rendered" || fail "the manual does not describe $option of $command"
    grep -q -- "$option" "$completion" || fail "the completion does not offer $option of $command"
  done
done

# shellcheck source=/dev/null
source "$completion"
completes() {
  local expected=$1; shift
  COMP_WORDS=("$@"); COMP_CWORD=$(( $# - 1 )); COMPREPLY=()
  _voltra 2>/dev/null || true  # compgen fails when nothing matches
  [ "${COMPREPLY[*]}" = "$expected" ] || fail "'$*' completes to '${COMPREPLY[*]}', not '$expected'"
}
completes "export-asc" voltra ex
completes "--series" voltra design --ser
completes "E12 E24 E96" voltra simulate --series ""
completes "--derating" voltra design --der
completes "--winding-q" voltra simulate --winding-
completes "" voltra design --power ""
completes "--json" voltra simulate --js
completes "simulate" voltra help si
completes "--c-tol" voltra tolerance --c-
completes "frequency" voltra sweep --param fr
echo "manual and completion agree with voltra $version"
