#!/usr/bin/env bash
# `cmake --install` into a fresh prefix, then the installed programs run from another folder with
# no Tenkora variable set: they must find their tables (share/tenkora) on their own.
# Only installs (the build is done before the tests run); never builds.
set -u
build=$1
src=$2
fail=0
check() { # name expected actual
  if [ "$2" != "$3" ]; then echo "FAIL $1"; echo " expected: $2"; echo " actual:   $3"; fail=1; else echo "ok $1"; fi
}
has() { # name path
  if [ -e "$2" ]; then echo "ok $1"; else echo "FAIL $1: no $2"; fail=1; fi
}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix

if ! cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" 2>&1; then
  echo "FAIL cmake --install"; cat "$tmp/install.log"; exit 1
fi

# Where things go.
for p in tenkora tenkora-cli CellExport TocComposer TocComposer2 tenkora-companion; do
  has "bin/$p" "$prefix/bin/$p"
done
check "only the programs in bin" "CellExport TocComposer TocComposer2 tenkora tenkora-cli tenkora-companion" \
  "$(ls "$prefix/bin" | LC_ALL=C sort | paste -sd' ')"
has "tables" "$prefix/share/tenkora/tables/kana.txt"
has "cell font" "$prefix/share/tenkora/TenkoraCells.ttf"
has "help" "$prefix/share/tenkora/help/index.html"
if [ -e "$build/bin/libktnbrlc.so" ]; then
  check "display driver" 1 "$(find "$prefix" -path '*/tenkora/libktnbrlc.so' | wc -l)"
fi
id=io.github.tenkora.Tenkora
has "desktop entry" "$prefix/share/applications/$id.desktop"
has "mime type" "$prefix/share/mime/packages/$id.xml"
has "metainfo" "$prefix/share/metainfo/$id.metainfo.xml"
has "scalable icon" "$prefix/share/icons/hicolor/scalable/apps/$id.svg"
for size in 16 24 32 48 64 128 256; do
  has "icon $size" "$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
done
check "no tests or benchmarks installed" "" "$(find "$prefix" \( -name 'test_*' -o -name 'bench_*' -o -name 'testdisplay_*' \) | head -3)"

# The installed programs, from a folder of their own, with an empty environment.
mkdir -p "$tmp/elsewhere" "$tmp/home"
cp "$src/samples/sample.bml" "$tmp/elsewhere/"
cd "$tmp/elsewhere" || exit 1
run() { env -i PATH=/usr/bin:/bin HOME="$tmp/home" LANG=C.UTF-8 "$@"; }

check "a kana's cells" $'2\tか\t*\t⠡' "$(run "$prefix/bin/tenkora-cli" lookup 'か')"
check "translate" '@[CU#BJBFP0"Q?4  ' "$(run "$prefix/bin/tenkora-cli" translate 'きょうは２０２６ねんです。' | cut -f2)"
check "the sample's body" '== body (12 rows)' "$(run "$prefix/bin/tenkora-cli" dump sample.bml | grep '^== body')"
run "$prefix/bin/CellExport" --format brf sample.bml sample.brf
check "the installed exporter" 0 $?
check "the exported braille" 1 "$(grep -c '#BJBFP0' sample.brf 2>/dev/null || echo 0)"
# The automatic translation needs MeCab's dictionary, a separate package.
if [ -d /var/lib/mecab/dic/ipadic-utf8 ]; then
  check "automatic translation" 'T3@[3' "$(run "$prefix/bin/tenkora-cli" autotranslate '東京' | cut -f2)"
fi
exit $fail
