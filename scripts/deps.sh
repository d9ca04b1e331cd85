#!/usr/bin/env bash
# Installs what the build, the program and the tests need. Quiet; does nothing when all is there.
set -euo pipefail
pkgs=(
  cmake g++ make ninja-build pkg-config
  qt6-base-dev qt6-base-private-dev libqt6sql6-sqlite libqt6sql6-mysql qt6-translations-l10n libgl-dev
  libsqlite3-dev unixodbc-dev libqrencode-dev
  fonts-noto-cjk fonts-ipafont-gothic fonts-noto-color-emoji
  libgtest-dev libbenchmark-dev libmariadb-dev libfaketime
  mariadb-server-core mariadb-client odbc-mariadb
  zbar-tools poppler-utils
  clang-14 libclang-rt-14-dev
)
# The private print server of the printing tests, without the desktop services it recommends.
cups=(cups-daemon cups-client)
# One look into the package database for all of them; unknown names are simply not listed.
declare -A installed=()
while read -r want ok state name; do
  [ "$want $ok $state" = "install ok installed" ] && installed[$name]=1
done < <(dpkg-query -W -f='${Status} ${Package}\n' "${pkgs[@]}" "${cups[@]}" 2>/dev/null || true)
missing=() missing_cups=()
for p in "${pkgs[@]}"; do [ -n "${installed[$p]:-}" ] || missing+=("$p"); done
for p in "${cups[@]}"; do [ -n "${installed[$p]:-}" ] || missing_cups+=("$p"); done
[ ${#missing[@]} -eq 0 ] && [ ${#missing_cups[@]} -eq 0 ] && exit 0
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
$sudo_cmd apt-get update -qq >/dev/null
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  $sudo_cmd env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi
if [ ${#missing_cups[@]} -gt 0 ]; then
  echo "installing: ${missing_cups[*]}"
  $sudo_cmd env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing_cups[@]}" >/dev/null
fi
