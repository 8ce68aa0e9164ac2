#!/usr/bin/env bash
# Installs what is missing (apt-get, only when something is missing), then configures and builds.
#   scripts/setup.sh [build-dir] [extra cmake options...]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
shift || true

packages=(build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools libqt6serialport6-dev libgl-dev
  libsqlite3-dev libfftw3-dev portaudio19-dev libgtest-dev googletest
  xvfb xauth)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""; [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S "$here" -B "$build" -G Ninja "$@"
cmake --build "$build" --parallel "$(nproc)"
