#!/usr/bin/env bash
# CellExport and TocComposer2, run as the editor runs them.
set -u
bin=$(dirname "$1")
fail=0
check() { # name expected actual
  if [ "$2" != "$3" ]; then echo "FAIL $1"; echo " expected: $2"; echo " actual:   $3"; fail=1; else echo "ok $1"; fi
}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export TENKORA_CONFIG_DIR="$tmp/config"
src="$TENKORA_SOURCE_DIR/samples/sample.bml"

"$bin/CellExport" "$src" "$tmp/book.bse"
check "bse exit" 0 $?
check "bse layout" "00043222" "$(head -c 512 "$tmp/book.bse" | tail -c 8)"
"$bin/CellExport" --columns 16 --lines 5 "$src" "$tmp/book.brf"
check "brf by its extension" 8 "$(tr -cd '\f' < "$tmp/book.brf" | wc -c)"
check "brf line length" 1 "$(awk '{ sub(/\r$/, ""); sub(/^\f/, ""); if (length($0) > 16) bad=1 } END { print bad ? 0 : 1 }' "$tmp/book.brf")"

# A failure exits 1 with one line and leaves no file; bad usage exits 2.
err=$("$bin/CellExport" "$src" "$tmp/no/book.bse" 2>&1 >/dev/null)
check "failed export status" 1 "$("$bin/CellExport" "$src" "$tmp/no/book.bse" >/dev/null 2>&1; echo $?)"
check "failed export says why" 1 "$(wc -l <<<"$err")"
check "no half file" 0 "$(ls "$tmp" | grep -c '^no')"
check "bad usage" 2 "$("$bin/CellExport" --format doc "$src" "$tmp/x" >/dev/null 2>&1; echo $?)"

# TocComposer2 writes the contents section and keeps the body.
blanks='<char mode="text" nabcc=" ">　</char>'
cat > "$tmp/toc.bml" <<BML
<?xml version="1.0" encoding="UTF-8"?>
<document>
<contents><line orgpage=""></line></contents>
<body><line orgpage="">$blanks$blanks$blanks$blanks$blanks$blanks<char mode="text" nabcc="*">か</char><br/></line>
<line orgpage=""><char mode="text" nabcc="A">あ</char><br/></line><line orgpage=""></line></body>
</document>
BML
before=$("$bin/tenkora-cli" dump "$tmp/toc.bml" | awk '/^== body/{on=1; next} /^== /{on=0} on')
"$bin/TocComposer2" "$tmp/toc.bml"
check "toc exit" 0 $?
check "body unchanged" "$before" "$("$bin/tenkora-cli" dump "$tmp/toc.bml" | awk '/^== body/{on=1; next} /^== /{on=0} on')"
check "contents title" $'        )%"\\\u21B2' "$("$bin/tenkora-cli" dump "$tmp/toc.bml" | awk '/^== contents/{getline; print; exit}' | cut -f3)"
check "contents heading" "      *" "$("$bin/tenkora-cli" dump "$tmp/toc.bml" | awk '/^== contents/{getline; getline; print; exit}' | cut -f3 | cut -c1-7)"
check "toc missing file" 1 "$("$bin/TocComposer2" "$tmp/none.bml" >/dev/null 2>&1; echo $?)"

# The sample's chapter titles are not indented: no heading, so its hand-made contents stay and
# TocComposer2 says so and exits 1.
cp "$src" "$tmp/plain.bml"
err=$("$bin/TocComposer2" "$tmp/plain.bml" 2>&1 >/dev/null); rc=$?
check "no heading status" 1 "$rc"
check "no heading says why" "1 1" "$(wc -l <<<"$err") $(grep -c 'no heading' <<<"$err")"
check "no heading leaves the file" same "$(cmp -s "$tmp/plain.bml" "$src" && echo same)"

# A book cut short (the file ends inside the body) is refused by every tool: exit 1, one line
# on standard error, nothing written, the file as it was.
head -c "$(( $(grep -b -o '</body>' "$src" | cut -d: -f1) - 100 ))" "$src" > "$tmp/cut.bml"
cp "$tmp/cut.bml" "$tmp/cut.orig"
err=$("$bin/CellExport" "$tmp/cut.bml" "$tmp/cut.bse" 2>&1 >/dev/null); rc=$?
check "cut export status" 1 "$rc"
check "cut export says why" "1 1" "$(wc -l <<<"$err") $(grep -c 'cut short' <<<"$err")"
check "cut export writes nothing" 0 "$(ls "$tmp" | grep -c '^cut.bse')"
err=$("$bin/TocComposer2" "$tmp/cut.bml" 2>&1 >/dev/null); rc=$?
check "cut toc status" 1 "$rc"
check "cut toc says why" "1 1" "$(wc -l <<<"$err") $(grep -c 'cut short' <<<"$err")"
check "cut toc leaves the file" same "$(cmp -s "$tmp/cut.bml" "$tmp/cut.orig" && echo same)"
mkdir "$tmp/volumes"
cp "$src" "$tmp/volumes/1.bml"
cp "$tmp/cut.bml" "$tmp/volumes/2.bml"
err=$(QT_QPA_PLATFORM=offscreen "$bin/TocComposer" "$tmp/volumes" 2>&1 >/dev/null); rc=$?
check "cut volume status" 1 "$rc"
check "cut volume says why" 1 "$(grep -c 'cut short' <<<"$err")"
check "cut volume writes nothing" 0 "$(ls "$tmp/volumes" | grep -c 'もくじ')"

# Layouts: BSE's header holds 99 cells and lines; a page needs its page line and a row, and the
# page line its number.
"$bin/CellExport" --columns 99 --lines 99 "$src" "$tmp/wide.bse"
check "bse of 99 x 99" "99" "$(head -c 512 "$tmp/wide.bse" | tail -c 4 | head -c 2)"
for layout in "--columns 100" "--lines 100"; do
  err=$("$bin/CellExport" $layout "$src" "$tmp/big.bse" 2>&1 >/dev/null); rc=$?
  check "bse $layout refused" "1 1 0" "$rc $(wc -l <<<"$err") $(ls "$tmp" | grep -c '^big.bse')"
done
"$bin/CellExport" --columns 100 "$src" "$tmp/big.brf"
check "brf of 100 cells" 0 $?
for layout in "--lines 1" "--columns 1" "--columns 2 --lines 2"; do
  err=$("$bin/CellExport" $layout "$src" "$tmp/small.brf" 2>&1 >/dev/null); rc=$?
  check "$layout refused" "1 1 0" "$rc $(wc -l <<<"$err") $(ls "$tmp" | grep -c '^small.brf')"
done
exit $fail
