# Sourced by the end-to-end tests of the braille display. start_virtual_display WORK FIRST LAST
# starts a 40-cell display for BRLTTY's Virtual driver (display_simulator.py: its cells go to
# WORK/display.log, keys written to WORK/keys reach BRLTTY) and BRLTTY with a BrlAPI server on a
# free port 4101 + n, n from FIRST to LAST (tests that run side by side take different ranges).
# Sets `api` (n) and appends the processes to `pids`; returns 1 with `why` set when no port is
# free or BRLTTY does not start.
start_virtual_display() {
  local work=$1 n i
  api=""
  for n in $(seq "$2" "$3"); do
    (exec 3<>/dev/tcp/127.0.0.1/$((4101 + n))) 2>/dev/null || { api=$n; break; }
  done
  [ -n "$api" ] || { why="no free BrlAPI port"; return 1; }
  /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/display_simulator.py" "$work/vr.sock" "$work/display.log" "$work/keys" &
  pids+=($!)
  for i in $(seq 50); do [ -S "$work/vr.sock" ] && break; sleep 0.1; done
  brltty -n -e -f /dev/null -F /dev/null -Z -b vr -d "client:$work/vr.sock" -x no -s no \
    -A "auth=none,host=127.0.0.1:$api" -W "$work" -U "$work" >"$work/brltty.log" 2>&1 &
  pids+=($!)
  for i in $(seq 50); do grep -q '^Braille' "$work/display.log" 2>/dev/null && break; sleep 0.1; done
  grep -q '^Braille' "$work/display.log" 2>/dev/null || { why="brltty did not start: $(tail -1 "$work/brltty.log")"; return 1; }
}
