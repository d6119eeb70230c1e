#!/usr/bin/env bash
# tenkora-cli emboss against a CUPS server of the test's own with a cups-brf queue: what the
# queue receives is CellExport's BRF of the same book, byte for byte (and the backend's final
# SUB); a page range and copies; and each failure in one line with its exit status.
set -u
bin=$1
src=$2
here=$(cd "$(dirname "$0")/../support" && pwd)
fail=0
check() { # name expected actual
  if [ "$2" != "$3" ]; then echo "FAIL $1"; echo " expected: $2"; echo " actual:   $3"; fail=1; else echo "ok $1"; fi
}
tmp=$(mktemp -d)
chmod 755 "$tmp" # the server's filters run as lp and must reach its folder
mkdir "$tmp/cups"
cleanup() { "$here/private_cupsd.sh" stop "$tmp/cups"; rm -rf "$tmp"; }
trap cleanup EXIT
out=$("$here/private_cupsd.sh" start "$tmp/cups"); rc=$?
if [ $rc -eq 77 ]; then echo "SKIP emboss_cli: ${out#SKIP }"; exit 77; fi
[ $rc -eq 0 ] || { echo "FAIL the private CUPS server did not start"; exit 1; }
export CUPS_SERVER="$out" HOME="$tmp" TENKORA_CONFIG_DIR="$tmp/config"
unset LPDEST PRINTER
queue="tenkora_cli_$$_$RANDOM"
"$here/private_cupsd.sh" queue "$tmp/cups" "$queue" || { echo "FAIL the queue could not be made"; exit 1; }

# A small page, so that the sample makes several pages.
mkdir -p "$TENKORA_CONFIG_DIR"
printf '[Window]\nLineNumber=5\nColumnNumber=16\n' > "$TENKORA_CONFIG_DIR/Tenkora.ini"
cp "$src/samples/sample.bml" "$tmp/whole.bml"
cp "$src/samples/sample.bml" "$tmp/part.bml"
"$bin/CellExport" --format brf "$tmp/whole.bml" "$tmp/expected.brf" || { echo "FAIL CellExport"; exit 1; }

# received TITLE: the file the cups-brf backend wrote for the job titled TITLE, once complete.
received() {
  local job=$1 title=$2 i
  for i in $(seq 200); do
    lpstat -W completed -o "$queue" 2>/dev/null | grep -q "^$queue-$job " && break
    sleep 0.1
  done
  cat "$tmp/cups/home/BRF/$title".*.brf 2>/dev/null
}

# The whole book to the default queue (the only one, and its driver takes BRF).
job=$("$bin/tenkora-cli" emboss "$tmp/whole.bml"); rc=$?
check "whole book status" 0 "$rc"
check "prints the job id" 1 "$(grep -cE '^[0-9]+$' <<<"$job")"
printf '\x1a' | cat "$tmp/expected.brf" - > "$tmp/expected-sub.brf"
received "$job" whole > "$tmp/got-whole.brf"
check "the queue received CellExport's BRF" same "$(cmp -s "$tmp/expected-sub.brf" "$tmp/got-whole.brf" && echo same || echo "differs ($(wc -c < "$tmp/got-whole.brf") bytes)")"
check "the sample makes several pages" 1 "$(( $(tr -cd '\f' < "$tmp/expected.brf" | wc -c) >= 3 ))"

# Pages 2 to 3, two copies: those pages of the export, twice, a form feed between copies.
job=$("$bin/tenkora-cli" emboss --printer "$queue" --pages 2-3 --copies 2 "$tmp/part.bml"); rc=$?
check "range status" 0 "$rc"
/usr/bin/python3 - "$tmp/expected.brf" "$tmp/expected-part.brf" <<'PY'
import sys
pages = open(sys.argv[1], 'rb').read().split(b'\f')
copy = b'\f'.join(pages[1:3])
open(sys.argv[2], 'wb').write(copy + b'\f' + copy + b'\x1a')
PY
received "$job" part > "$tmp/got-part.brf"
check "pages 2-3, two copies" same "$(cmp -s "$tmp/expected-part.brf" "$tmp/got-part.brf" && echo same || echo differs)"

# Failures: one line, exit 1 for CUPS's side, exit 2 for the caller's.
one_line() { # name status message-part command...
  local name=$1 status=$2 part=$3; shift 3
  local err rc
  err=$("$@" 2>&1 >/dev/null); rc=$?
  check "$name status" "$status" "$rc"
  check "$name says why in one line" "1 1" "$(wc -l <<<"$err") $(grep -c -- "$part" <<<"$err")"
}
usage_error() { # name message-part command...: exit 2, why on the first line, then the usage
  local name=$1 part=$2; shift 2
  local err rc
  err=$("$@" 2>&1 >/dev/null); rc=$?
  check "$name status" 2 "$rc"
  check "$name says why" "1 1" "$(head -1 <<<"$err" | grep -c -- "$part") $(grep -c '^usage: tenkora-cli emboss' <<<"$err")"
}
one_line "unknown queue" 1 "CUPS にありません" "$bin/tenkora-cli" emboss --printer "no_such_$queue" "$tmp/whole.bml"
cupsreject "$queue"
one_line "refused job" 1 "受け付けませんでした" "$bin/tenkora-cli" emboss --printer "$queue" "$tmp/whole.bml"
cupsaccept "$queue"
one_line "no server" 1 "接続できません" env CUPS_SERVER="$tmp/none.sock" "$bin/tenkora-cli" emboss "$tmp/whole.bml"
one_line "range outside the book" 2 "ページの範囲" "$bin/tenkora-cli" emboss --printer "$queue" --pages 2-999 "$tmp/whole.bml"
usage_error "bad range" "--pages" "$bin/tenkora-cli" emboss --printer "$queue" --pages 3-x "$tmp/whole.bml"
usage_error "no copies" "--copies" "$bin/tenkora-cli" emboss --printer "$queue" --copies 0 "$tmp/whole.bml"
one_line "unreadable book" 2 "cannot read" "$bin/tenkora-cli" emboss --printer "$queue" "$tmp/none.bml"
check "nothing more was printed" 2 "$(ls "$tmp/cups/home/BRF" | wc -l)"

# No queue at all.
lpadmin -x "$queue"
one_line "no queue" 1 "キュー）がありません" "$bin/tenkora-cli" emboss "$tmp/whole.bml"
exit $fail
