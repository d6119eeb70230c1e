#!/usr/bin/env bash
# tenkora-cli lookup, run as a user runs it.
set -u
cli=$1
fail=0
check() { # name expected actual
  if [ "$2" != "$3" ]; then echo "FAIL $1"; echo " expected: $2"; echo " actual:   $3"; fail=1; else echo "ok $1"; fi
}

out=$("$cli" lookup 'きょうは２０２６ねんです。')
check "lookup exit" 0 $?
check "lookup cells" '@[ C U B J B F P 0 "Q ? 4' "$(cut -f3 <<<"$out" | paste -sd' ')"
check "lookup sets" '2 2 2 2 2 2 2 2 2 2 2 2' "$(cut -f1 <<<"$out" | paste -sd' ')"
check "lookup unicode" '⠈⠪' "$(head -1 <<<"$out" | cut -f4)"

err=$("$cli" lookup 'あ€' 2>&1 >/dev/null)
check "unmatched exit" 1 "$("$cli" lookup 'あ€' >/dev/null 2>&1; echo $?)"
check "unmatched report" 'tenkora-cli: no entry for: €' "$err"

check "bad set" 2 "$("$cli" lookup --set 99 a >/dev/null 2>&1; echo $?)"
check "no text" 2 "$("$cli" lookup >/dev/null 2>&1; echo $?)"
check "unknown option" 2 "$("$cli" lookup --bogus a >/dev/null 2>&1; echo $?)"
check "unknown command" 2 "$("$cli" frobnicate >/dev/null 2>&1; echo $?)"
check "help" 0 "$("$cli" lookup --help >/dev/null 2>&1; echo $?)"
exit $fail
