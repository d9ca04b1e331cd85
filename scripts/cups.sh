#!/usr/bin/env bash
# Private print server for the tests: start DIR PORT | stop DIR
# start runs a cupsd of its own (configuration, spool, logs and programs under DIR, listening
# on 127.0.0.1:PORT) with one raw queue "hbtest" that writes each job to DIR/out/job.out and
# keeps the jobs' attributes in DIR/spool, and prints nothing else; stop ends it by its pid.
set -euo pipefail
cmd=$1; dir=$2
case "$cmd" in
start)
  port=$3
  command -v cupsd >/dev/null && command -v lpadmin >/dev/null || { echo "cupsd or lpadmin is not installed" >&2; exit 1; }
  mkdir -p "$dir/etc" "$dir/spool/tmp" "$dir/cache" "$dir/state" "$dir/log" "$dir/out" "$dir/bin/backend"
  user=$(id -un); group=$(id -gn)
  if [ "$(id -u)" -eq 0 ]; then user=lp; group=lp; fi
  chmod 755 "$dir" "$dir/etc" "$dir/bin" "$dir/bin/backend"
  # The server's programs, with one backend of its own: a raw queue's document goes, as it is,
  # into the file its device address names (a raw job runs no filter, and a file: device
  # writes only what a filter hands it).
  for sub in daemon notifier filter; do ln -sfn "/usr/lib/cups/$sub" "$dir/bin/$sub"; done
  cat > "$dir/bin/backend/hbfile" <<'SH'
#!/bin/sh
[ $# -eq 0 ] && { echo 'direct hbfile "Unknown" "File"'; exit 0; }
out=${DEVICE_URI#hbfile:}
if [ -n "$6" ]; then cat "$6" > "$out"; else cat > "$out"; fi
SH
  chmod 755 "$dir/bin/backend/hbfile"
  chmod 777 "$dir/spool" "$dir/spool/tmp" "$dir/cache" "$dir/state" "$dir/log" "$dir/out"
  cat > "$dir/cups-files.conf" <<CONF
ServerRoot $dir/etc
ServerBin $dir/bin
Printcap $dir/etc/printcap
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
User $user
Group $group
SystemGroup $(id -gn)
CONF
  cat > "$dir/etc/cupsd.conf" <<CONF
Listen 127.0.0.1:$port
LogLevel info
Browsing No
WebInterface No
DefaultAuthType None
PreserveJobHistory Yes
PreserveJobFiles Yes
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
    Allow all
  </Limit>
</Policy>
CONF
  cupsd -f -c "$dir/etc/cupsd.conf" -s "$dir/cups-files.conf" >"$dir/log/cupsd.out" 2>&1 &
  echo $! > "$dir/cupsd.pid"
  pid=$(cat "$dir/cupsd.pid")
  for _ in $(seq 1 40); do
    if lpstat -h "127.0.0.1:$port" -r >/dev/null 2>&1; then break; fi
    [ -d "/proc/$pid" ] || { echo "cupsd ended at start-up (port $port taken?)" >&2; exit 1; }
    sleep 0.25
  done
  lpadmin -h "127.0.0.1:$port" -p hbtest -E -v "hbfile:$dir/out/job.out" -m raw >/dev/null 2>&1 ||
    { echo "the test queue could not be made" >&2; exit 1; }
  ;;
stop)
  if [ -f "$dir/cupsd.pid" ]; then
    pid=$(cat "$dir/cupsd.pid")
    if [ -r "/proc/$pid/comm" ] && grep -q cupsd "/proc/$pid/comm"; then
      kill "$pid" 2>/dev/null || true
      for _ in $(seq 1 40); do [ -d "/proc/$pid" ] || break; sleep 0.25; done
      [ -d "/proc/$pid" ] && kill -9 "$pid" 2>/dev/null || true
    fi
    rm -f "$dir/cupsd.pid"
  fi
  ;;
esac
