#!/usr/bin/env bash
# tenkora-cli import: print books made into braille books, run as a user runs it.
set -u
cli=$1
data=${TENKORA_SOURCE_DIR:?}/tests/data/import
fail=0
check() { # name expected actual
  if [ "$2" != "$3" ]; then echo "FAIL $1"; echo " expected: $2"; echo " actual:   $3"; fail=1; else echo "ok $1"; fi
}
work=$(mktemp -d)
export XDG_CONFIG_HOME=$work/config
trap 'rm -rf "$work"' EXIT

# Aozora Bunko text in Shift_JIS: the cover, a level-2 heading at cell 7, body paragraphs at cell 3
# with the ruby readings used (小径 こみち, 石の橋 いしのはし), the bibliography in the colophon.
out=$("$cli" import "$data/aozora-sjis.txt" "$work/aozora.bml")
check "aozora exit" 0 $?
check "aozora summary" "$work/aozora.bml: 11 paragraphs, 3 headings, 0 original pages, 4 ruby readings, 1 guessed and 0 unknown words, 2 annotations dropped" "$out"
dump=$("$cli" dump "$work/aozora.bml")
check "cover" $'ハルノ□ショーケイ↲\nヤマダ□ハナコ*' "$(sed -n '/^== cover/,/^== contents/p' <<<"$dump" | sed '1d;$d' | cut -f2)"
body=$(sed -n '/^== body/,/^== colophon/p' <<<"$dump" | cut -f2)
check "heading at cell 7" $'□□□□□□\uE003１□アサ↲' "$(sed -n 2p <<<"$body")"
check "ruby readings" "□□アサノ□コミチヲ□アルクト、□フルイ□イシノ□ハシガ□" "$(sed -n 3p <<<"$body")"
check "colophon" "テイホン□：□「ハルノ□ショーケイ」□カクー□ショボー↲" "$(sed -n '/^== colophon/,$p' <<<"$dump" | sed -n 2p | cut -f2)"

# An EPUB 3 built from its files: the print pages become the original-page labels.
(cd "$data/epub3" && /usr/bin/python3 - "$work/book.epub" <<'PY'
import os, sys, zipfile
z = zipfile.ZipFile(sys.argv[1], 'w')
z.write('mimetype', 'mimetype', compress_type=zipfile.ZIP_STORED)
for root, _, files in os.walk('.'):
    for f in sorted(files):
        p = os.path.join(root, f)[2:]
        if p != 'mimetype':
            z.write(p, p, compress_type=zipfile.ZIP_DEFLATED)
PY
)
out=$("$cli" import --columns 40 "$work/book.epub" "$work/book.bml")
check "epub exit" 0 $?
check "epub pages" "1 2 3" "$("$cli" dump --columns 40 "$work/book.bml" | sed -n '/^== body/,/^== colophon/p' | cut -f1 | grep -v '^$' | grep -v '^==' | tr '\n' ' ' | sed 's/ $//')"

# Bad input: one line and exit status 1; bad usage: exit status 2; nothing written.
head -c 300 "$work/book.epub" > "$work/cut.epub"
err=$("$cli" import "$work/cut.epub" "$work/cut.bml" 2>&1)
check "damaged exit" 1 $?
check "damaged one line" 1 "$(wc -l <<<"$err")"
check "damaged nothing written" "no" "$([ -e "$work/cut.bml" ] && echo yes || echo no)"
err=$("$cli" import --encoding NO-SUCH-CODE "$data/aozora-sjis.txt" "$work/x.bml" 2>&1)
check "unknown encoding exit" 1 $?
check "usage" 2 "$("$cli" import "$data/aozora-sjis.txt" >/dev/null 2>&1; echo $?)"
exit $fail
