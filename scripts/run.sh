#!/usr/bin/env bash
# Installs what is missing, builds, lays out a program folder and starts the program
# on the default SQLite databases (created on the first start).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${HB_BUILD_DIR:-$root/build}
"$root/scripts/deps.sh"
"$root/scripts/build.sh" harvestbook
app=${HB_APP_DIR:-$root/app}
mkdir -p "$app/bin" "$app/ini" "$app/work" "$app/data" "$app/images"
# The copy keeps the build's time stamp: a program of another time stamp is a new build.
if [ ! -f "$app/bin/harvestbook" ] || [ "$build/harvestbook" -nt "$app/bin/harvestbook" ] \
   || [ "$build/harvestbook" -ot "$app/bin/harvestbook" ]; then
  cp -p "$build/harvestbook" "$app/bin/harvestbook"
fi
exec "$app/bin/harvestbook" "$@"
