#!/usr/bin/env bash
# End to end with a real Japanese input method: ibus with mozc under Xvfb types romaji into the
# running editor in TEXT mode, the input method commits kana, Ctrl+S saves, and the saved book
# must hold the kana with their cells. Skips with one line where the input method cannot start.
set -u
bin=$1
skip() { echo "SKIP ibus_mozc: $*"; exit 0; }
for tool in Xvfb xdotool ibus-daemon ibus dbus-launch setpriv; do
  command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done
nss=$(ls /usr/lib/*/libnss_wrapper.so 2>/dev/null | head -1)
[ -n "$nss" ] || skip "libnss-wrapper is not installed"

work=$(mktemp -d /tmp/tenkora-ibus-XXXXXX)
chmod 755 "$work"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
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
mkdir -p "$home/.config/mozc" "$work/run" "$work/config"
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
[ -n "$user_uid" ] && chown -R "$user_uid:$user_uid" "$home" "$work/run" "$work/config" "$work/book.bml" && chmod 777 "$work"

display=""
for n in 91 92 93 94 95 96 97 98; do
  [ -e /tmp/.X11-unix/X$n ] && continue
  Xvfb :$n -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  for i in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
  [ -e /tmp/.X11-unix/X$n ] && display=:$n && break
done
[ -n "$display" ] || skip "Xvfb did not start"

cat > "$work/session.sh" <<SCRIPT
set -u
export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$work/run" GSETTINGS_BACKEND=memory
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
for i in \$(seq 50); do
  wid=\$(xdotool search --onlyvisible --name Tenkora 2>/dev/null | head -1)
  [ -n "\$wid" ] && break
  sleep 0.2
done
sleep 1.5
xdotool windowfocus --sync "\$wid"
sleep 1
xdotool type --delay 120 kana
sleep 1
xdotool key Return
sleep 1
xdotool key ctrl+s
sleep 1.5
kill \$app; wait \$app 2>/dev/null
ibus exit >/dev/null 2>&1
kill \$DBUS_SESSION_BUS_PID
SCRIPT
out=$(${run_as[@]+"${run_as[@]}"} bash "$work/session.sh" 2>&1)
grep -q NOIBUS <<<"$out" && skip "ibus with mozc did not start ($(tail -1 <<<"$out"))"
body=$("$bin/tenkora-cli" dump "$work/book.bml" | awk '/^== body/{on=1; next} /^== /{on=0} on')
cells=$(cut -f3 <<<"$body")
if [ "$cells" = "*K " ]; then
  echo "ok ibus_mozc: typed kana were committed, ruled and saved ($(cut -f2 <<<"$body"))"
  echo "1 passed, 0 failed"
  exit 0
fi
echo "FAIL ibus_mozc: the saved body holds \"$cells\" instead of \"*K \""
echo "$out" | tail -5
echo "0 passed, 1 failed"
exit 1
