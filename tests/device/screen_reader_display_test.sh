#!/usr/bin/env bash
# A blind transcriber's desktop: BRLTTY with its Virtual driver playing a 40-cell display
# (display_simulator.py), xbrlapi telling BRLTTY which X window has the focus, Orca holding the
# display for the X server's terminal (WINDOWPATH), and the editor with its BRLTTY bridge. While
# the editor's view has the keys the display must show the book's cells; while its right-click
# menu is open or one of its dialogs has the focus, Orca has the display; back in the view, the
# book again.
# Skips with one line where one of the programs cannot run.
set -u
bin=$1
here=$(cd "$(dirname "$0")" && pwd)
support=$(cd "$here/../support" && pwd)
skip() { echo "SKIP screen reader display: $*"; exit 0; }
for tool in brltty orca xbrlapi Xvfb xdotool dbus-run-session; do
  command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done
[ -x /usr/libexec/at-spi-bus-launcher ] || skip "at-spi2-core is not installed"
[ -e "$bin/libktnbrlc.so" ] || skip "the bridge was not built (no BrlAPI)"

work=$(mktemp -d -t tenkora-srdisplay-XXXXXX)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  [ -n "${KEEP:-}" ] || rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/run" "$work/home" "$work/tmp" "$work/config" "$work/orca"
chmod 700 "$work/run"

source "$here/virtual_display.sh"
start_virtual_display "$work" 61 99 || skip "$why"

"$bin/tenkora-cli" type --save "$work/book.bml" 'aiueo' >/dev/null || { echo "FAIL: could not make a book"; exit 1; }
cp "$support/xvfb.sh" "$work/xvfb.sh"
# Orca waits for its speech server, which gives up without a sound device: speak into libao's
# null driver.
mkdir -p "$work/home/.config/speech-dispatcher"
{ cat /etc/speech-dispatcher/speechd.conf 2>/dev/null; echo 'AudioOutputMethod "libao"'; } \
  >"$work/home/.config/speech-dispatcher/speechd.conf"
echo "default_driver=null" >"$work/home/.libao"

cat > "$work/session.sh" <<SCRIPT
set -u
source "$work/xvfb.sh"
start_xvfb "$work" || { echo "NOXVFB"; exit 0; }
# A desktop session says which terminal the X server runs on; Orca claims that terminal.
export WINDOWPATH=7
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
launcher=\$!
xbrlapi -n -q -d "\$DISPLAY" >"$work/xbrlapi.log" 2>&1 &
xb=\$!
# Orca runs once per user: another test's Orca (outside CTest's lock) is waited for.
wait_for 120 sh -c '! pgrep -u "\$(id -u)" -x orca >/dev/null' || { echo "NOORCA another Orca of this user runs"; kill \$launcher \$xb; stop_xvfb; exit 0; }
orca --debug-file "$work/orca.log" -u "$work/orca" >"$work/orca.out" 2>&1 &
orca=\$!
# Orca is up once it has said its first words (to a speech server that may not answer).
wait_for 90 grep -q "SPEECH OUTPUT" "$work/orca.log" || { echo "NOORCA \$(tail -2 "$work/orca.out" | tr '\n' ' ')"; kill \$launcher \$xb \$orca; stop_xvfb; exit 0; }
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 TENKORA_CONFIG_DIR="$work/config" "$bin/tenkora" "$work/book.bml" >"$work/editor.log" 2>&1 &
app=\$!
window() { wid=\$(xdotool search --onlyvisible --name Tenkora 2>/dev/null | head -1); [ -n "\$wid" ]; }
wait_for 30 window || echo "NOWINDOW"
xdotool windowfocus --sync "\$wid"
echo "window \$wid"
touch "$work/ready"
# Hands the test's steps to the outer script through files: a step is a file name, done when it
# appears in "done".
for step in book menu menuback dialog back; do
  wait_for 40 test -e "$work/step-\$step" || break
  case \$step in
    menu) xdotool mousemove --window "\$wid" 300 300 click 3 ;;
    dialog) xdotool key --window "\$wid" ctrl+f ;;
    back|menuback) xdotool key Escape; xdotool key Escape; sleep 0.2; xdotool windowfocus --sync "\$wid" ;;
  esac
  touch "$work/did-\$step"
done
wait_for 40 test -e "$work/step-end"
kill \$app \$orca \$xb \$launcher 2>/dev/null
wait \$app \$orca \$xb \$launcher 2>/dev/null
stop_xvfb
SCRIPT

env -i PATH="$PATH" HOME="$work/home" XDG_RUNTIME_DIR="$work/run" XDG_STATE_HOME="$work/state" \
  XDG_CONFIG_HOME="$work/home/.config" TMPDIR="$work/tmp" QT_QPA_PLATFORM=xcb LANG=C.UTF-8 \
  BRLAPI_HOST=127.0.0.1:$api BRLAPI_AUTH=none \
  dbus-run-session -- bash "$work/session.sh" >"$work/session.log" 2>&1 &
session=$!
pids+=($session)

last() { grep '^Braille' "$work/display.log" | tail -1; }
# The display shows `row` (the 40 cells as the Virtual driver writes them) within 30 s.
shows() {
  for i in $(seq 300); do
    [ "$(last)" = "Braille \"$1\"" ] && return 0
    grep -q 'NOXVFB\|NOORCA' "$work/session.log" 2>/dev/null && return 2
    sleep 0.1
  done
  return 1
}
row() {
  local cells=($1) out="" i
  for i in $(seq 0 39); do out+="${cells[$i]:- }|"; done
  echo "${out%|}"
}
fail() {
  echo "FAIL screen reader display: $*"
  echo "--- display: $(last)"; echo "--- session"; tail -5 "$work/session.log"; echo "--- editor"; tail -5 "$work/editor.log" 2>/dev/null
  exit 1
}
step() { echo "MARK $1" >>"$work/display.log"; touch "$work/step-$1"; for i in $(seq 300); do [ -e "$work/did-$1" ] && return 0; sleep 0.1; done; fail "step $1 did not run"; }

book=$(row '178 12 14 124 24')
# Orca may first wait for another one to end; the editor's window then comes.
for i in $(seq 1800); do
  [ -e "$work/ready" ] && break
  grep -q 'NOXVFB\|NOORCA' "$work/session.log" 2>/dev/null && skip "$(grep -h 'NOXVFB\|NOORCA' "$work/session.log")"
  kill -0 $session 2>/dev/null || fail "the session ended early"
  sleep 0.1
done
[ -e "$work/ready" ] || fail "the editor's window did not come"
touch "$work/step-book"
shows "$book"; r=$?
[ $r -eq 0 ] || fail "the display did not show the book while the window had the focus"
# Waits until the display shows something else than the book.
leaves() {
  for i in $(seq 300); do [ "$(last)" != "Braille \"$book\"" ] && return 0; sleep 0.1; done
  return 1
}
step menu
leaves || fail "the display kept the book while a menu was open"
step menuback
shows "$book" || fail "the display did not come back to the book after the menu"
step dialog
leaves || fail "the display kept the book while a dialog had the focus"
step back
shows "$book" || fail "the display did not come back to the book"
touch "$work/step-end"
wait $session 2>/dev/null
echo "PASS screen reader display"
