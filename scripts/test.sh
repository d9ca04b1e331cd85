#!/usr/bin/env bash
# Installs what is missing, builds, starts a private MariaDB, runs every test, stops the server.
# Exit status is ctest's.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${HB_BUILD_DIR:-$root/build}
"$root/scripts/deps.sh"
"$root/scripts/build.sh"

dbdir=$(mktemp -d /tmp/hb-mariadb.XXXXXX)
port=$(( 20000 + RANDOM % 20000 ))
cleanup() { "$root/scripts/mariadb.sh" stop "$dbdir" || true; rm -rf "$dbdir"; }
trap cleanup EXIT
started=0
for _ in 1 2 3; do
  if "$root/scripts/mariadb.sh" start "$dbdir" "$port"; then started=1; break; fi
  # The port may be taken: stop what was started and try another.
  "$root/scripts/mariadb.sh" stop "$dbdir" || true
  rm -rf "$dbdir"/*
  port=$(( 20000 + RANDOM % 20000 ))
done
if [ "$started" = 1 ]; then
  export ODBCINI="$dbdir/odbc.ini" ODBCSYSINI="$dbdir" HB_TEST_DSN=hbtest
else
  tail -n 20 "$dbdir/server.log" 2>/dev/null >&2 || true
  # In CI the server tests must run: no server is a failed run, not a run of skipped tests.
  if [ "${CI:-}" = true ]; then
    echo "the private MariaDB server could not be started (CI): failing" >&2
    exit 1
  fi
  echo "the private MariaDB server could not be started: server tests are skipped" >&2
fi
# A private print server for the printing tests; without it they test the PDF path only.
cupsdir=$(mktemp -d /tmp/hb-cups.XXXXXX)
trap 'cleanup; "$root/scripts/cups.sh" stop "$cupsdir" || true; rm -rf "$cupsdir"' EXIT
cups=0
for _ in 1 2 3; do
  if "$root/scripts/cups.sh" start "$cupsdir" $(( 20000 + RANDOM % 20000 )) 2>"$cupsdir/start.log"; then cups=1; break; fi
  # The port may be taken: stop what was started and try another.
  "$root/scripts/cups.sh" stop "$cupsdir" || true
  find "$cupsdir" -mindepth 1 -maxdepth 1 ! -name start.log -exec rm -rf {} +
done
if [ "$cups" = 1 ]; then
  export CUPS_SERVER="127.0.0.1:$(sed -n 's/^Listen 127.0.0.1://p' "$cupsdir/etc/cupsd.conf")" HB_TEST_CUPS_DIR="$cupsdir"
else
  cat "$cupsdir/start.log" >&2 || true
  # In CI the printer tests must run, as the server tests must.
  if [ "${CI:-}" = true ]; then
    echo "the private print server could not be started (CI): failing" >&2
    exit 1
  fi
  echo "the private print server could not be started: printer tests are skipped" >&2
fi
export QT_QPA_PLATFORM=offscreen
set +e
(cd "$build" && ctest --output-on-failure -j4)
rc=$?
set -e
exit $rc
