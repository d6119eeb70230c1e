#!/usr/bin/env bash
# tenkora-cli type, run as a user runs it.
set -u
cli=$1
fail=0
check() { # name expected actual
  if [ "$2" != "$3" ]; then echo "FAIL $1"; echo " expected: $2"; echo " actual:   $3"; fail=1; else echo "ok $1"; fi
}
body() { awk '/^== body/{on=1; next} /^== /{on=0} on' ; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Kana input, a chord in BRAILLE, a new paragraph that MATH opens with its sign, a letter.
out=$("$cli" type 'kyouha{F4}{chord:FD}{F4}{Enter}{F2}x{Enter}')
check "type exit" 0 $?
check "type body cells" $'@[CUB\u21B2\n;X ' "$(body <<<"$out" | cut -f3)"
check "type body sets" $'2,2,2,4,1\n3,3,1' "$(body <<<"$out" | cut -f4)"

# Each undo takes one step back.
out=$("$cli" type --state 'kyouha{F4}{chord:FD}{F4}{Enter}{F2}x{Enter}{C-z}{C-z}')
check "undo steps" $'@[CUB\u21B2\n ' "$(body <<<"$out" | cut -f3)"
check "undo position" "undo: step 5 of 7" "$(grep '^undo:' <<<"$out")"

# Numbers get their number sign from the rules; a save writes a file that reads back.
"$cli" type --save "$tmp/out.bml" '{ime:２０２６}nenn' >/dev/null
check "save exit" 0 $?
check "saved body" '#BJBFP0 ' "$("$cli" dump "$tmp/out.bml" | body | cut -f3)"
check "open and type" '#BJBFP0? ' "$("$cli" type --open "$tmp/out.bml" '{C-End}{Down}{End}su' | body | cut -f3)"

# {C-s} saves where --save (or --open) says; the save point follows it.
out=$("$cli" type --save "$tmp/saved.bml" --state 'ka{C-s}ki{C-z}')
check "saved by the script" '* ' "$("$cli" dump "$tmp/saved.bml" | body | cut -f3)"
check "at the save point" $'modified: no\nsave point: step 1' "$(grep -E '^(modified|save point):' <<<"$out")"
out=$("$cli" type --open "$tmp/saved.bml" --state 'su{C-s}{C-z}')
check "back to the opened file" '?* ' "$("$cli" dump "$tmp/saved.bml" | body | cut -f3)"
check "before the save point" $'modified: yes\nsave point: step 1' "$(grep -E '^(modified|save point):' <<<"$out")"
check "nowhere to save" 2 "$("$cli" type 'ka{C-s}' >/dev/null 2>&1; echo $?)"

# The find dialog: the first すべて置換 only finds, the second replaces the rest.
out=$("$cli" type --state '{ime:かあか}{C-Home}{replace-all:か=き}{replace-all:か=き}{find:か}')
check "replace all" '<A< ' "$(body <<<"$out" | cut -f3)"
check "not found" 'status: 検索文字列 【か】　最終行まで検索しましたが、見つかりませんでした。' "$(grep '^status:' <<<"$out")"

# Messages from undo and redo.
check "nothing to undo" "message: 初期状態です。" "$("$cli" type --state '{C-z}' | grep '^message:')"

# Bad usage.
check "unknown token" 2 "$("$cli" type '{Bogus}' >/dev/null 2>&1; echo $?)"
check "no script" 2 "$("$cli" type >/dev/null 2>&1; echo $?)"
check "missing file" 1 "$("$cli" type --open "$tmp/none.bml" a >/dev/null 2>&1; echo $?)"
check "help" 0 "$("$cli" type --help >/dev/null 2>&1; echo $?)"
exit $fail
