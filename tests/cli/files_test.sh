#!/usr/bin/env bash
# tenkora-cli dump, roundtrip and link2bml, run as a user runs them.
set -u
cli=$1
here=$(cd "$(dirname "$0")" && pwd)
data=$here/../data
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0
check() { # name expected actual
  if [ "$2" != "$3" ]; then echo "FAIL $1"; echo " expected: $2"; echo " actual:   $3"; fail=1; else echo "ok $1"; fi
}

# dump: section headers, one line per row, labels, cells with the line break shown as ↲.
out=$("$cli" dump "$data/bml/labelled.bml")
check "dump exit" 0 $?
check "dump headers" '== cover (2 rows)|== contents (1 rows)|== body (4 rows)|== colophon (2 rows)' \
  "$(grep '^==' <<<"$out" | paste -sd'|')"
check "dump colophon row" $'3\tおそらり↲\tIWEH↲\t2,2,2,2,1' "$(grep -A1 '^== colophon' <<<"$out" | tail -1)"
check "dump math row" $'2\tへきよ□１＋２＝３ <= *\t&<> A5B33C[33 \t2,2,2,1,3,3,3,3,3,3,1' \
  "$(grep -A4 '^== body' <<<"$out" | tail -1)"

# --columns lays the document out again: the 40-cell paragraph fits on one row of 40.
out40=$("$cli" dump --columns 40 "$data/bml/labelled.bml")
check "dump columns rows" '== body (3 rows)' "$(grep '^== body' <<<"$out40")"
check "dump columns labels" '1 1 2' "$(grep -A3 '^== body' <<<"$out40" | tail -3 | cut -f1 | paste -sd' ')"

# roundtrip: Tenkora's own file comes back byte for byte.
"$cli" roundtrip "$data/bml/labelled.bml" "$tmp/out.bml"
check "roundtrip exit" 0 $?
check "roundtrip bytes" same "$(cmp -s "$data/bml/labelled.bml" "$tmp/out.bml" && echo same || echo differ)"

# A compact file is written in the full layout.
printf '<document><head><use orgpage="no"/></head><body><char mode="text" nabcc="a">あ</char></body></document>' >"$tmp/compact.bml"
"$cli" roundtrip "$tmp/compact.bml" "$tmp/full.bml"
check "compact to full" $'\t<body>\r|\t\t<line>\r|\t\t\t<char mode="text" nabcc="A">あ</char>\r|\t\t</line>\r|\t</body>\r' \
  "$(sed -n '/<body>/,/<\/body>/p' "$tmp/full.bml" | paste -sd'|')"

# link2bml: the work file reads back as one body paragraph.
printf 't`A`あ,{t`,`、},m`#`\xee\x80\x83,bad record\nt\tP\tね\n' >"$tmp/link.txt"
"$cli" link2bml "$tmp/link.txt" "$tmp/work.bml"
check "link2bml exit" 0 $?
check "link2bml xml" '<char mode="text" nabcc="A">あ</char><char mode="text" nabcc=",">、</char>' \
  "$(grep -o '<char[^/]*/char><char[^/]*/char>' "$tmp/work.bml" | head -1)"
wout=$("$cli" dump "$tmp/work.bml")
# The stored cells "," do not belong to "、": the lookup falls back to the key "," (the comma).
check "link2bml body" $'\tあ，\ue003ね*\tA1#P \t2,2,3,2,1' "$(grep -A1 '^== body' <<<"$wout" | tail -1)"

# Failures: reported with a reason, old files kept, usage errors give 2.
err=$("$cli" dump "$tmp/missing.bml" 2>&1 >/dev/null)
check "dump missing exit" 1 "$("$cli" dump "$tmp/missing.bml" >/dev/null 2>&1; echo $?)"
check "dump missing message" yes "$(grep -q 'missing.bml' <<<"$err" && echo yes || echo "no: $err")"
cp "$tmp/out.bml" "$tmp/keep.bml"
err=$("$cli" roundtrip "$data/bml/labelled.bml" "$tmp/no/such/dir/out.bml" 2>&1)
check "roundtrip unwritable exit" 1 "$("$cli" roundtrip "$data/bml/labelled.bml" "$tmp/no/such/dir/out.bml" >/dev/null 2>&1; echo $?)"
check "roundtrip unwritable message" yes "$(grep -q 'no/such/dir' <<<"$err" && echo yes || echo "no: $err")"
check "link2bml missing exit" 1 "$("$cli" link2bml "$tmp/none.txt" "$tmp/w.bml" >/dev/null 2>&1; echo $?)"
check "dump no file" 2 "$("$cli" dump >/dev/null 2>&1; echo $?)"
check "dump bad columns" 2 "$("$cli" dump --columns 0 "$data/bml/labelled.bml" >/dev/null 2>&1; echo $?)"
check "roundtrip one operand" 2 "$("$cli" roundtrip "$data/bml/labelled.bml" >/dev/null 2>&1; echo $?)"
check "link2bml unknown option" 2 "$("$cli" link2bml --fast a b >/dev/null 2>&1; echo $?)"
for c in dump roundtrip link2bml; do
  check "$c help" 0 "$("$cli" $c --help >/dev/null 2>&1; echo $?)"
done

# Garbage reads as a document and writes cleanly.
head -c 20000 /dev/urandom >"$tmp/garbage.bml"
"$cli" roundtrip "$tmp/garbage.bml" "$tmp/garbage-out.bml"
check "garbage roundtrip" 0 $?
exit $fail
