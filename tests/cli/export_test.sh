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
cp "$src" "$tmp/toc.bml"
before=$("$bin/tenkora-cli" dump "$tmp/toc.bml" | awk '/^== body/{on=1; next} /^== /{on=0} on')
"$bin/TocComposer2" "$tmp/toc.bml"
check "toc exit" 0 $?
check "body unchanged" "$before" "$("$bin/tenkora-cli" dump "$tmp/toc.bml" | awk '/^== body/{on=1; next} /^== /{on=0} on')"
check "contents title" $'        )%"\\\u21B2' "$("$bin/tenkora-cli" dump "$tmp/toc.bml" | awk '/^== contents/{getline; print; exit}' | cut -f3)"
check "toc missing file" 1 "$("$bin/TocComposer2" "$tmp/none.bml" >/dev/null 2>&1; echo $?)"
exit $fail
