#!/usr/bin/env bash
# Installs what the build, the program and the tests need. Quiet; does nothing when all is there.
set -euo pipefail
pkgs=(
  cmake g++ make pkg-config
  qt6-base-dev libqt6sql6-sqlite libqt6sql6-mysql qt6-translations-l10n libgl-dev
  libsqlite3-dev unixodbc-dev libqrencode-dev
  fonts-noto-cjk fonts-ipafont-gothic fonts-noto-color-emoji
  libgtest-dev libbenchmark-dev libmariadb-dev libfaketime
  mariadb-server-core mariadb-client odbc-mariadb
  zbar-tools poppler-utils
  clang-14 libclang-rt-14-dev
)
missing=()
for p in "${pkgs[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq >/dev/null
  $sudo_cmd apt-get install -y -qq "${missing[@]}" >/dev/null
fi
# The private print server of the printing tests, without the desktop services it recommends.
if [ "$(dpkg-query -W -f='${Status}\n' cups-daemon cups-client 2>/dev/null | grep -c 'install ok installed')" -lt 2 ]; then
  echo "installing: cups-daemon cups-client"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq >/dev/null
  $sudo_cmd env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends cups-daemon cups-client >/dev/null
fi
