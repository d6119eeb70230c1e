#!/usr/bin/env bash
# `cpack -G DEB` makes a package whose control fields name what Tenkora needs at run time and
# whose files are the installed tree; the package unpacked anywhere runs.
set -u
build=$1
command -v dpkg-shlibdeps >/dev/null || { echo "SKIP package: dpkg-shlibdeps is missing (dpkg-dev)"; exit 77; }
fail=0
check() { # name expected actual
  if [ "$2" != "$3" ]; then echo "FAIL $1"; echo " expected: $2"; echo " actual:   $3"; fail=1; else echo "ok $1"; fi
}
contains() { # name needle haystack
  if [[ "$3" == *"$2"* ]]; then echo "ok $1"; else echo "FAIL $1: no '$2' in"; echo " $3"; fail=1; fi
}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$tmp/out" >"$tmp/cpack.log" 2>&1; then
  echo "FAIL cpack"; cat "$tmp/cpack.log"; exit 1
fi
debs=("$tmp"/out/tenkora_*.deb)
check "one package" 1 "${#debs[@]}"
deb=${debs[0]}
check "package name" tenkora "$(dpkg-deb -f "$deb" Package)"
depends=$(dpkg-deb -f "$deb" Depends)
contains "linked libraries found" "libqt6widgets6" "$depends"
contains "MeCab's library found" "libmecab2" "$depends"
contains "Qt's platform plugins" "qt6-qpa-plugins" "$depends"
contains "a Japanese font" "fonts-ipafont-gothic" "$depends"
contains "the dictionary of the automatic translation" "mecab-ipadic-utf8" "$(dpkg-deb -f "$deb" Recommends)"

files=$(dpkg-deb -c "$deb" | awk '{print $6}')
contains "the editor" "./usr/bin/tenkora"$'\n' "$files"
contains "the tables" "./usr/share/tenkora/tables/kana.txt" "$files"
contains "the desktop entry" "./usr/share/applications/io.github.tenkora.Tenkora.desktop" "$files"
contains "the BML type" "./usr/share/mime/packages/io.github.tenkora.Tenkora.xml" "$files"
check "no tests or benchmarks" "" "$(grep -E '/(test_|bench_|testdisplay_)' <<<"$files")"

# Unpacked into any folder, its programs find their data beside them.
dpkg-deb -x "$deb" "$tmp/root"
mkdir -p "$tmp/home" && cd "$tmp/home" || exit 1
check "the unpacked tenkora-cli" '@[CU#BJBFP0"Q?4  ' \
  "$(env -i PATH=/usr/bin:/bin HOME="$tmp/home" "$tmp/root/usr/bin/tenkora-cli" translate 'きょうは２０２６ねんです。' | cut -f2)"
exit $fail
