#!/usr/bin/env bash
# A screen reader's view of the editor: the editor on the sample book under Xvfb with the AT-SPI
# bus; a Python script with pyatspi reads the view's text and caret, presses Right twice, types a
# character, undoes and redoes it, and must hear the caret moves, the insertion, the undo taking
# the character out and the redo putting it back. Skips with one line where
# the accessibility bus cannot start.
set -u
bin=$1
source=$2
skip() { echo "SKIP atspi: $*"; exit 0; }
for tool in Xvfb xdotool dbus-run-session; do command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"; done
[ -x /usr/libexec/at-spi-bus-launcher ] || skip "at-spi2-core is not installed"
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || skip "python3-pyatspi is not installed"
work=$(mktemp -d /tmp/tenkora-atspi-XXXXXX)
trap 'rm -rf "$work"' EXIT
cp "$source/samples/sample.bml" "$work/book.bml"

cat > "$work/listen.py" <<'PY'
import sys, time, pyatspi
from gi.repository import GLib

def find_view():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is None or 'tenkora' not in (app.name or '').lower():
            continue
        stack = [app]
        while stack:
            node = stack.pop()
            try:
                if node.getRole() == pyatspi.ROLE_TEXT and node.name.startswith('本文'):
                    return node
                stack.extend(c for c in node if c is not None)
            except Exception:
                pass
    return None

view = None
for _ in range(60):
    view = find_view()
    if view:
        break
    time.sleep(0.25)
if not view:
    print("FAIL atspi: the view is not on the accessibility bus"); sys.exit(1)
text = view.queryText()
first = text.getText(0, -1).split('\n')[0]
print("name:", view.name)
print("first row:", first)
print("caret:", text.caretOffset)
carets, inserts, deletes = [], [], []
def on_event(event):
    if event.type.startswith('object:text-caret-moved'):
        carets.append(event.detail1)
    elif event.type.startswith('object:text-changed:insert'):
        inserts.append((event.detail1, event.any_data))
    elif event.type.startswith('object:text-changed:delete'):
        deletes.append((event.detail1, event.any_data))
pyatspi.Registry.registerEventListener(on_event, 'object:text-caret-moved', 'object:text-changed:insert',
                                       'object:text-changed:delete')
import subprocess
def act():
    subprocess.run(['xdotool', 'key', 'Right', 'Right'])
    time.sleep(0.5)
    subprocess.run(['xdotool', 'type', 'a'])
    time.sleep(0.5)
    subprocess.run(['xdotool', 'key', 'ctrl+z'])
    time.sleep(0.5)
    subprocess.run(['xdotool', 'key', 'ctrl+y'])
    return False
GLib.timeout_add(800, act)
GLib.timeout_add(4500, lambda: pyatspi.Registry.stop())
pyatspi.Registry.start()
print("carets:", carets)
print("inserts:", inserts)
print("deletes:", deletes)
print("caret after:", text.caretOffset)
try:
    line = text.getTextAtOffset(text.caretOffset, pyatspi.TEXT_BOUNDARY_LINE_START)
    print("caret line:", str(line[0]).rstrip('\n'))
except Exception as error:
    print("caret line failed:", error)
PY

number=""
for n in 81 82 83 84 85 86 87 88 89; do [ -e /tmp/.X11-unix/X$n ] || { number=$n; break; }; done
[ -n "$number" ] || skip "no free display number"
cat > "$work/session.sh" <<SCRIPT
set -u
Xvfb :$number -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=\$!
for i in \$(seq 50); do [ -e /tmp/.X11-unix/X$number ] && break; sleep 0.1; done
export DISPLAY=:$number
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
launcher=\$!
sleep 1
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 TENKORA_CONFIG_DIR="$work/config" XDG_STATE_HOME="$work/state" \
  "$bin/tenkora" "$work/book.bml" >/dev/null 2>&1 &
app=\$!
sleep 2
wid=\$(xdotool search --onlyvisible --name Tenkora 2>/dev/null | head -1)
[ -n "\$wid" ] && xdotool windowfocus --sync "\$wid"
/usr/bin/python3 "$work/listen.py"
kill \$app \$launcher \$xvfb 2>/dev/null
SCRIPT
out=$(dbus-run-session -- bash "$work/session.sh" 2>&1)
grep -q "not on the accessibility bus" <<<"$out" && skip "the accessibility bus did not start"
echo "$out"
fail=0
check() { if grep -qF -- "$2" <<<"$out"; then echo "ok $1"; else echo "FAIL $1: expected \"$2\""; fail=1; fi; }
check "name" "name: 本文 TEXT"
check "first row" "first row: だい"
check "caret at 0" "caret: 0"
check "two caret moves" "carets: [1, 2"
check "the insertion and its redo" "inserts: [(2, 'あ'), (2, 'あ')]"
check "the undo" "deletes: [(2, 'あ')]"
check "line at the caret" "caret line: だいあ"
[ $fail -eq 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit $fail
