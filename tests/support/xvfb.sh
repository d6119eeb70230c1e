# Sourced by the end-to-end tests. start_xvfb FOLDER starts Xvfb on a display number that Xvfb
# picks itself (-displayfd), so tests that run side by side never take each other's display;
# it waits until the server is ready, then exports DISPLAY and sets xvfb_pid. Returns 1 when
# Xvfb does not start.
start_xvfb() {
  local out="$1/xvfb-display"
  : > "$out"
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$out" >"$1/xvfb.log" 2>&1 &
  xvfb_pid=$!
  local i
  for i in $(seq 200); do
    [ -s "$out" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || return 1
    sleep 0.05
  done
  [ -s "$out" ] || return 1
  DISPLAY=:$(head -1 "$out")
  export DISPLAY
  # A client must get through to this server (not to one that is still going away).
  wait_for 10 xdotool getdisplaygeometry >/dev/null 2>&1
}

# stop_xvfb: ends the server and waits until it is gone, so that the next test that takes the
# same display number never meets it going away.
stop_xvfb() {
  [ -n "${xvfb_pid:-}" ] || return 0
  kill "$xvfb_pid" 2>/dev/null
  wait "$xvfb_pid" 2>/dev/null
  xvfb_pid=""
}

# wait_for SECONDS COMMAND...: runs COMMAND every 0.1 s until it succeeds; 1 when time runs out.
wait_for() {
  local tries=$(( $1 * 10 )) i
  shift
  for i in $(seq "$tries"); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}
