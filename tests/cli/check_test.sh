#!/usr/bin/env bash
# tenkora-cli check, run as a user runs it.
set -u
cli=$1
fail=0
check() { # name expected actual
  if [ "$2" != "$3" ]; then echo "FAIL $1"; echo " expected: $2"; echo " actual:   $3"; fail=1; else echo "ok $1"; fi
}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Digits deleted from after their number sign leave the sign; a blank typed after 。 makes three.
"$cli" type --save "$tmp/book.bml" '2026{BS}{BS}{BS}{BS}{Enter}kore。 sore' >/dev/null
out=$("$cli" check "$tmp/book.bml")
check "findings exit" 1 $?
check "findings" $'本文 1-2\t数符のあとに数字がありません\t#\n本文 1-3\t句点のあとは2マスあけますが、3マスです\t4   ' "$out"

# What the rules make while typing is clean.
"$cli" type --save "$tmp/clean.bml" '2026{ime:えん}。sore' >/dev/null
out=$("$cli" check "$tmp/clean.bml")
check "clean exit" 0 $?
check "clean output" "" "$out"

# A file that cannot be read.
check "missing file" 2 "$("$cli" check "$tmp/none.bml" >/dev/null 2>&1; echo $?)"
printf 'not a book' > "$tmp/junk.bml"
check "not BML" 2 "$("$cli" check "$tmp/junk.bml" >/dev/null 2>&1; echo $?)"
check "no file given" 2 "$("$cli" check >/dev/null 2>&1; echo $?)"
exit $fail
