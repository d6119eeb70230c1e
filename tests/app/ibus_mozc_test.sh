#!/usr/bin/env bash
# End to end with a real Japanese input method: ibus with mozc under Xvfb types romaji into the
# running editor in TEXT mode, the input method commits kana, Ctrl+S saves, and the saved book
# must hold the kana with their cells. Skips with one line where the input method cannot start.
set -u
bin=$1
source "$(dirname "$0")/../support/xvfb.sh"
skip() { echo "SKIP ibus_mozc: $*"; exit 0; }
for tool in Xvfb xdotool ibus-daemon ibus dbus-launch setpriv; do
  command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done
nss=$(ls /usr/lib/*/libnss_wrapper.so 2>/dev/null | head -1)
[ -n "$nss" ] || skip "libnss-wrapper is not installed"

work=$(mktemp -d -t tenkora-ibus-XXXXXX)
chmod 755 "$work"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  [ -n "${user_uid:-}" ] && pkill -u "$user_uid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# mozc refuses to run as root: the input method and the editor run as a user of their own.
if [ "$(id -u)" -eq 0 ]; then
  user_uid=42420
  run_as=(setpriv --reuid=$user_uid --regid=$user_uid --clear-groups)
else
  user_uid=""
  run_as=()
fi
home="$work/home"
mkdir -p "$home/.config/mozc" "$work/run" "$work/config" "$work/tmp"
# mozc's engine, active (hiragana) as soon as the editor has the focus.
cat > "$home/.config/mozc/ibus_config.textproto" <<'CONFIG'
engines {
  name: "mozc-jp"
  longname: "Mozc"
  layout: "default"
  layout_variant: ""
  layout_option: ""
  rank: 80
}
active_on_launch: True
CONFIG
echo "tenkora:x:${user_uid:-$(id -u)}:${user_uid:-$(id -g)}:tenkora:$home:/bin/bash" > "$work/passwd"
echo "tenkora:x:${user_uid:-$(id -g)}:" > "$work/group"
"$bin/tenkora-cli" type --save "$work/book.bml" '{Esc}' >/dev/null || { echo "FAIL could not make a book"; exit 1; }
chmod 700 "$work/run"
[ -n "$user_uid" ] && chown -R "$user_uid:$user_uid" "$home" "$work/run" "$work/config" "$work/tmp" "$work/book.bml" && chmod 777 "$work"

cp "$(dirname "$0")/../support/xvfb.sh" "$work/xvfb.sh"
start_xvfb "$work" || skip "Xvfb did not start"
pids+=("$xvfb_pid")
display=$DISPLAY
saved_before=$(stat -c %Y.%s "$work/book.bml")

cat > "$work/session.sh" <<SCRIPT
set -u
source "$work/xvfb.sh"
# The whole environment is this test's: it runs under env -i, so nothing of the caller's (an
# off-screen platform, another bus, another runtime folder) reaches the input method or the editor.
export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_STATE_HOME="$home/.local/state" XDG_RUNTIME_DIR="$work/run"
export TMPDIR="$work/tmp" GSETTINGS_BACKEND=memory QT_QPA_PLATFORM=xcb LANG=C.UTF-8
export DISPLAY=$display LD_PRELOAD="$nss" NSS_WRAPPER_PASSWD="$work/passwd" NSS_WRAPPER_GROUP="$work/group"
eval "\$(dbus-launch --sh-syntax)"
ibus-daemon -d -r -x --panel=disable --emoji-extension=disable >/dev/null 2>&1
for i in \$(seq 50); do
  ibus engine mozc-jp >/dev/null 2>&1
  [ "\$(ibus engine 2>/dev/null)" = mozc-jp ] && break
  sleep 0.2
done
if [ "\$(ibus engine 2>/dev/null)" != mozc-jp ]; then echo "NOIBUS"; ibus engine 2>&1 | tail -1; kill \$DBUS_SESSION_BUS_PID; exit 0; fi
QT_IM_MODULE=ibus TENKORA_CONFIG_DIR="$work/config" "$bin/tenkora" "$work/book.bml" >/dev/null 2>&1 &
app=\$!
window() { wid=\$(xdotool search --onlyvisible --name Tenkora 2>/dev/null | head -1); [ -n "\$wid" ]; }
wait_for 30 window || { echo "NOWINDOW"; kill \$app; exit 0; }
# The editor's input context reaches ibus once the window has the focus.
xdotool windowfocus --sync "\$wid"
focused() { [ "\$(xdotool getwindowfocus 2>/dev/null)" = "\$wid" ]; }
wait_for 10 focused
sleep 1
xdotool type --delay 120 kana
sleep 0.5
xdotool key Return
sleep 0.5
# Converted to kanji (東京) and committed: translated automatically into braille kana.
xdotool type --delay 120 toukyou
sleep 0.5
xdotool key space
sleep 0.8
xdotool key Return
sleep 0.5
xdotool key ctrl+s
saved() { [ "\$(stat -c %Y.%s "$work/book.bml")" != "$saved_before" ]; }
wait_for 20 saved
sleep 0.3
kill \$app; wait \$app 2>/dev/null
ibus exit >/dev/null 2>&1
kill \$DBUS_SESSION_BUS_PID
SCRIPT
out=$(env -i PATH="$PATH" ${run_as[@]+"${run_as[@]}"} bash "$work/session.sh" 2>&1)
grep -q NOWINDOW <<<"$out" && { echo "FAIL ibus_mozc: the editor's window did not appear"; echo "0 passed, 1 failed"; exit 1; }
grep -q NOIBUS <<<"$out" && skip "ibus with mozc did not start ($(tail -1 <<<"$out"))"
body=$("$bin/tenkora-cli" dump "$work/book.bml" | awk '/^== body/{on=1; next} /^== /{on=0} on')
cells=$(cut -f3 <<<"$body")
if [ "$cells" = "*K" ] || [ "$cells" = "*K " ]; then
  echo "FAIL ibus_mozc: the kanji commit (東京) was not typed: the body holds \"$(cut -f2 <<<"$body")\""
  echo "0 passed, 1 failed"
  exit 1
fi
if [ "$cells" = "*KT3@[3 " ]; then
  echo "ok ibus_mozc: kana and a kanji conversion were committed, translated, ruled and saved ($(cut -f2 <<<"$body"))"
  echo "1 passed, 0 failed"
  exit 0
fi
echo "FAIL ibus_mozc: the saved body holds \"$cells\" ($(cut -f2 <<<"$body")) instead of \"*K@W3%W3 \""
echo "$out" | tail -5
echo "0 passed, 1 failed"
exit 1
