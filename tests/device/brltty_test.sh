#!/usr/bin/env bash
# End to end with BRLTTY: its Virtual driver plays a 40-cell display (display_simulator.py), the
# editor runs with the BRLTTY bridge (libktnbrlc.so) and must show the caret's row there, move
# the caret when a routing key is pressed and insert a cell typed on the display.
# Skips with one line where BRLTTY cannot start.
set -u
bin=$1
here=$(cd "$(dirname "$0")" && pwd)
skip() { echo "SKIP brltty: $*"; exit 0; }
fail() { echo "FAIL brltty: $*"; echo "--- display"; tail -5 "$work/display.log"; echo "--- editor"; tail -5 "$work/editor.log"; exit 1; }
command -v brltty >/dev/null 2>&1 || skip "brltty is not installed"
[ -x /usr/bin/python3 ] || skip "python3 is not installed"
[ -e "$bin/libktnbrlc.so" ] || skip "the bridge was not built (no BrlAPI)"

work=$(mktemp -d -t tenkora-brltty-XXXXXX)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

source "$here/virtual_display.sh"
start_virtual_display "$work" 21 60 || skip "$why"
sleep 2 # keys pressed while brltty shows its start-up message are lost

"$bin/tenkora-cli" type --save "$work/book.bml" 'aiueo' >/dev/null || fail "could not make a book"
mkdir -p "$work/config"
BRLAPI_HOST=127.0.0.1:$api BRLAPI_AUTH=none QT_QPA_PLATFORM=offscreen TENKORA_CONFIG_DIR="$work/config" \
  XDG_RUNTIME_DIR="$work" XDG_STATE_HOME="$work/state" "$bin/tenkora" "$work/book.bml" >"$work/editor.log" 2>&1 &
pids+=($!)

# Waits until the display shows `dots` (as the Virtual driver writes them).
shows() {
  for i in $(seq 100); do
    [ "$(grep '^Braille' "$work/display.log" | tail -1)" = "Braille \"$1\"" ] && return 0
    sleep 0.1
  done
  return 1
}
press() { echo "$1" >"$work/keys"; }
# The 40 cells of a row as the driver writes them: dots joined by '|', a blank cell as ' '.
row() {
  local cells=($1) out="" i
  for i in $(seq 0 39); do out+="${cells[$i]:- }|"; done
  echo "${out%|}"
}

# あいうえお with the caret (dots 7 and 8) on the first cell, then the paragraph's end.
shows "$(row '178 12 14 124 24')" || fail "the row was not shown"
# Routing key over cell 3 (counted from 0) puts the caret on え.
press "Route 3"
shows "$(row '1 12 14 12478 24')" || fail "the routing key did not move the caret"
# Dots 1 and a blank typed on the display: the cell あ goes in before え.
press "PassDots 1"
press "PassChar 32"
shows "$(row '1 12 14 1 12478 24')" || fail "the typed cell was not inserted"
echo "PASS brltty"
