#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the package need (skips what
# is there).
set -euo pipefail
packages=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev libgl-dev
          libsqlite3-dev sqlite3 libgtest-dev libgmock-dev libbenchmark-dev poppler-utils
          fonts-dejavu-core qt6-translations-l10n dpkg-dev file appstream desktop-file-utils)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
