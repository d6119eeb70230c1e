#!/usr/bin/env bash
# A CUPS server of a test's own, in a folder of its own, with the real braille embosser drivers
# and the real cups-brf backend; nothing of the system's CUPS is touched.
#
#   private_cupsd.sh start DIR          starts it; prints the socket to give as CUPS_SERVER
#   private_cupsd.sh queue DIR NAME [PPD]  adds the queue NAME on cups-brf:/ (default the generic
#                                       braille embosser)
#   private_cupsd.sh stop DIR           removes its queues and ends it
#
# The cups-brf backend writes each job into BRF/ in the home folder of the submitting user, found
# through the password database: the backend is run with nss_wrapper and a password file that
# gives that user DIR/home, so jobs land in DIR/home/BRF/TITLE.XXXXXX.brf. cupsd drops LD_*
# variables from SetEnv, so the backend is reached through a wrapper in a ServerBin of the test's
# own (the filters and helpers are the system's, through links).
#
# DIR and the folders above it must be open to others (the filters run as lp).
#
# start exits 77 with "SKIP ..." on standard output where no such server can run (no cupsd, not
# root: the backend must run as root, no nss_wrapper), 1 when it was started and did not answer.
set -u
cmd=${1:-}
dir=${2:-}
[ -n "$cmd" ] && [ -n "$dir" ] || { echo "usage: $0 start|queue|stop DIR" >&2; exit 2; }
dir=$(cd "$dir" && pwd) || exit 2
socket="$dir/cups.sock"
export CUPS_SERVER="$socket"

skip() { echo "SKIP private cupsd: $*"; exit 77; }

start() {
  command -v cupsd >/dev/null || [ -x /usr/sbin/cupsd ] || skip "cupsd is not installed"
  local cupsd; cupsd=$(command -v cupsd || echo /usr/sbin/cupsd)
  command -v lpadmin >/dev/null || skip "lpadmin (cups-client) is not installed"
  [ "$(id -u)" -eq 0 ] || skip "the cups-brf backend runs only under a cupsd started as root"
  [ -x /usr/lib/cups/backend/cups-brf ] || skip "the cups-brf backend (cups-filters) is not installed"
  local wrapper=""
  for w in /usr/lib/*/libnss_wrapper.so /usr/lib/libnss_wrapper.so; do [ -e "$w" ] && wrapper=$w && break; done
  [ -n "$wrapper" ] || skip "libnss_wrapper is not installed"
  getent group lp >/dev/null || skip "there is no group lp for the filters"

  # The filters run as lp: they must reach the folder, and the temporary folder is theirs.
  chmod 755 "$dir"
  su -s /bin/sh -c "test -x '$dir'" lp 2>/dev/null || { echo "$dir is not open to the user lp" >&2; return 1; }
  mkdir -p "$dir"/{etc/ppd,etc/ssl,spool,state,cache,log,home,bin/backend}
  install -d -o root -g lp -m 1770 "$dir/tmp"
  local user; user=$(id -un)
  printf '%s:x:%s:%s:%s:%s:/bin/sh\n' "$user" "$(id -u)" "$(id -g)" "$user" "$dir/home" > "$dir/passwd"
  printf '%s:x:%s:\n' "$(id -gn)" "$(id -g)" > "$dir/group"
  for x in filter daemon cgi-bin driver monitor notifier; do
    [ -e "/usr/lib/cups/$x" ] && ln -sfn "/usr/lib/cups/$x" "$dir/bin/$x"
  done
  cat > "$dir/bin/backend/cups-brf" <<WRAP
#!/bin/sh
LD_PRELOAD=$wrapper NSS_WRAPPER_PASSWD=$dir/passwd NSS_WRAPPER_GROUP=$dir/group exec /usr/lib/cups/backend/cups-brf "\$@"
WRAP
  chmod 0700 "$dir/bin/backend/cups-brf"
  cat > "$dir/cups-files.conf" <<CONF
ServerRoot $dir/etc
RequestRoot $dir/spool
TempDir $dir/tmp
StateDir $dir/state
CacheDir $dir/cache
DataDir /usr/share/cups
ServerBin $dir/bin
DocumentRoot /usr/share/cups/doc-root
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
Printcap $dir/printcap
User lp
Group lp
SystemGroup root
CONF
  cat > "$dir/cupsd.conf" <<CONF
LogLevel debug
Listen $socket
Browsing Off
BrowseLocalProtocols none
DefaultAuthType None
WebInterface No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
  setsid "$cupsd" -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" >"$dir/log/cupsd.out" 2>&1 < /dev/null &
  echo $! > "$dir/cupsd.pid"
  local i
  for i in $(seq 300); do
    lpstat -r >/dev/null 2>&1 && { echo "$socket"; return 0; }
    kill -0 "$(cat "$dir/cupsd.pid")" 2>/dev/null || break
    sleep 0.1
  done
  echo "private cupsd did not answer; its log:" >&2
  tail -5 "$dir/log/error_log" "$dir/log/cupsd.out" >&2 2>/dev/null
  return 1
}

queue() {
  local name=$1 ppd=${2:-drv:///generic-brf.drv/gen-brf.ppd}
  # lpadmin says that drivers are deprecated; the braille ones are what CUPS ships. The first
  # queue makes the server list every driver, which a loaded machine may not finish in time:
  # a second and third try.
  local try
  for try in 1 2 3; do
    lpadmin -p "$name" -E -v cups-brf:/ -m "$ppd" 2>"$dir/log/lpadmin.err" && return 0
    sleep 1
  done
  cat "$dir/log/lpadmin.err" >&2
  return 1
}

stop() {
  [ -s "$dir/cupsd.pid" ] || return 0
  local pid; pid=$(cat "$dir/cupsd.pid")
  if kill -0 "$pid" 2>/dev/null; then
    for q in $(lpstat -p 2>/dev/null | awk '$1 == "printer" { print $2 }'); do lpadmin -x "$q" 2>/dev/null; done
    kill "$pid" 2>/dev/null
    local i
    for i in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  fi
  rm -f "$dir/cupsd.pid"
}

case "$cmd" in
  start) start ;;
  queue) shift 2; queue "$@" ;;
  stop) stop ;;
  *) echo "usage: $0 start|queue|stop DIR" >&2; exit 2 ;;
esac
