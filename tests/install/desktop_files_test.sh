#!/usr/bin/env bash
# The desktop entry, the BML type and the AppStream file pass their validators, agree with one
# another, and a MIME database built from the type tells a book by its name.
set -u
src=$1
for tool in desktop-file-validate update-desktop-database appstreamcli update-mime-database gio xmllint; do
  command -v "$tool" >/dev/null || { echo "SKIP desktop files: $tool is missing (scripts/install-deps)"; exit 77; }
done
fail=0
check() { # name expected actual
  if [ "$2" != "$3" ]; then echo "FAIL $1"; echo " expected: $2"; echo " actual:   $3"; fail=1; else echo "ok $1"; fi
}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
id=io.github.tenkora.Tenkora
dir=$src/resources/desktop
desktop=$dir/$id.desktop
mime=$dir/$id.xml
meta=$dir/$id.metainfo.xml

# Hints are allowed; errors and warnings are not.
out=$(desktop-file-validate "$desktop" 2>&1); rc=$?
check "desktop-file-validate" "0" "$rc$(grep -E ': (error|warning):' <<<"$out")"
out=$(appstreamcli validate --no-net "$meta" 2>&1); rc=$?
check "appstreamcli validate" "0" "$rc$(grep -E '^(E|W):' <<<"$out")"
xmllint --noout "$mime"
check "mime XML well formed" 0 $?

field() { sed -n "s/^$1=//p" "$desktop"; }
check "Exec" "tenkora %f" "$(field Exec)"
check "entry and type agree" "$(sed -n 's/.*mime-type type="\([^"]*\)".*/\1/p' "$mime");" "$(field MimeType)"
check "entry and icon agree" "$id" "$(field Icon)"
check "metainfo launches the entry" "$id.desktop" "$(sed -n 's/.*<launchable type="desktop-id">\(.*\)<\/launchable>.*/\1/p' "$meta")"
check "metainfo provides the type" "$(field MimeType | tr -d ';')" "$(sed -n 's/.*<mediatype>\(.*\)<\/mediatype>.*/\1/p' "$meta")"
# The screenshots the metainfo names are the ones in docs/screenshots, at their stated size.
check "two screenshots" 2 "$(grep -c '<image type="source"' "$meta")"
while read -r w h name; do
  check "screenshot $name" "$w x $h" "$(file "$src/docs/screenshots/$name" | sed -n 's/.*PNG image data, \([0-9]*\) x \([0-9]*\).*/\1 x \2/p')"
done < <(sed -n 's/.*width="\([0-9]*\)" height="\([0-9]*\)">.*\/\([^/]*\.png\)<.*/\1 \2 \3/p' "$meta")

# A file manager's view: the MIME database and the desktop database built in a private data
# folder, then a book with and without its usual case.
mkdir -p "$tmp/data/mime/packages" "$tmp/data/applications" "$tmp/books"
cp "$mime" "$tmp/data/mime/packages/"
cp "$desktop" "$tmp/data/applications/"
XDG_DATA_HOME=$tmp/data update-mime-database "$tmp/data/mime"
check "update-mime-database" 0 $?
update-desktop-database "$tmp/data/applications"
check "update-desktop-database" 0 $?
check "the entry opens the type" "application/x-tenkora-bml=$id.desktop;" \
  "$(grep '^application/x-tenkora-bml=' "$tmp/data/applications/mimeinfo.cache")"
cp "$src/samples/sample.bml" "$tmp/books/book.bml"
cp "$src/samples/sample.bml" "$tmp/books/BOOK.BML"
type_of() { XDG_DATA_HOME=$tmp/data XDG_DATA_DIRS=/usr/share gio info -a standard::content-type "$1" | sed -n 's/.*standard::content-type: //p'; }
check "a book's type" application/x-tenkora-bml "$(type_of "$tmp/books/book.bml")"
check "a book's type in capitals" application/x-tenkora-bml "$(type_of "$tmp/books/BOOK.BML")"
check "a book's icon" "$id" "$(XDG_DATA_HOME=$tmp/data XDG_DATA_DIRS=/usr/share gio info -a standard::icon "$tmp/books/book.bml" | sed -n 's/.*standard::icon: \([^,]*\),.*/\1/p')"
exit $fail
