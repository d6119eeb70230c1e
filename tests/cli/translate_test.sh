#!/usr/bin/env bash
# tenkora-cli translate, run as a user runs it.
set -u
cli=$1
fail=0
check() { # name expected actual
  if [ "$2" != "$3" ]; then echo "FAIL $1"; echo " expected: $2"; echo " actual:   $3"; fail=1; else echo "ok $1"; fi
}
cells() { "$cli" translate "$@" | cut -f2 | paste -sd'|'; }

out=$("$cli" translate 'きょうは２０２６ねんです。')
check "translate exit" 0 $?
# The number sign before 2026, two blanks after the full stop.
check "date cells" '@[CU#BJBFP0"Q?4  ' "$(cut -f2 <<<"$out")"
check "date print" $'きょうは\uE003２０２６ねんです。□□' "$(cut -f1 <<<"$out")"

check "spaced date" '@[CU #BJBFP0 #E"*N #AJ*"Q?4  ' "$(cells 'きょうは　２０２６ねん　５がつ　１０かです。')"
check "foreign letter after a number" '#C;A' "$(cells '３ａ')"
check "no sign before k" '#CK' "$(cells '３ｋ')"
check "connector after a number" '#E-A' "$(cells '５あ')"
check "no connector before ka" '#E*' "$(cells '５か')"
check "numeric comma" "#A'JJJ" "$(cells '１，０００')"
check "decimal point" '#C1AD' "$(cells '３．１４')"
check "reading comma" 'A; B' "$(cells 'あ、い')"
check "space key" 'A B' "$(cells 'あ い')"
check "line feed" 'A↲|B' "$(cells $'あ\nい')"
check "rows of ten cells" '@[CU TQ) |BB Q0<"Q?4  ' "$(cells --columns 10 'きょうは　とても　いい　てんきです。')"
check "unicode column" '⠼⠉⠰⠁' "$("$cli" translate --unicode '３ａ' | cut -f3)"

check "math" ';X^#B5#A33#J' "$(cells --math 'x^2+1=0')"
check "math blanks" ';A + B' "$(cells --math 'a∪b')"
check "math two spaces" ';X  ;Y' "$(cells --math 'x  y')"
check "math new line" ';#A↲|;#B' "$(cells --math $'1\n2')"

check "bad columns" 2 "$("$cli" translate --columns 0 a >/dev/null 2>&1; echo $?)"
check "no text" 2 "$("$cli" translate >/dev/null 2>&1; echo $?)"
check "two texts" 2 "$("$cli" translate a b >/dev/null 2>&1; echo $?)"
check "unknown option" 2 "$("$cli" translate --bogus a >/dev/null 2>&1; echo $?)"
check "help" 0 "$("$cli" translate --help >/dev/null 2>&1; echo $?)"
exit $fail
