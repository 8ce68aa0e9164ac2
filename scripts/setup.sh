#!/usr/bin/env bash
# Installs the Debian packages that are missing (only when some are), then configures and builds.
#   scripts/setup.sh [--tests] [build-dir] [extra cmake options...]
#   scripts/setup.sh --check [--tests]   says which packages are missing ("nothing missing" when
#                                        none); exit 1 if any
# Without --tests only what the program needs to build and run; --tests adds what the tests need.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

# Real package names of Debian 12 (not virtual ones, which dpkg never reports as installed).
program_packages=(build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libgl-dev
  libsqlite3-dev libfftw3-dev portaudio19-dev libasound2-dev)
test_packages=(libgtest-dev googletest xvfb xauth pulseaudio pulseaudio-utils libasound2-plugins
  fonts-urw-base35 fonts-liberation2)

check=false
tests=false
while [ $# -gt 0 ]; do
  case "$1" in
    --check) check=true ;;
    --tests) tests=true ;;
    *) break ;;
  esac
  shift
done

packages=("${program_packages[@]}")
needs="Sondrel needs"
if $tests; then
  packages+=("${test_packages[@]}")
  needs="Sondrel and its tests need"
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if $check; then
  if [ ${#missing[@]} -eq 0 ]; then echo "nothing missing"; exit 0; fi
  echo "missing: ${missing[*]}"
  exit 1
fi

build=${1:-$here/build}
shift || true

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -eq 0 ]; then
    sudo=()
  elif command -v sudo >/dev/null 2>&1; then
    sudo=(sudo)
  else
    echo "$needs these Debian packages, and only root can install them: ${missing[*]}" >&2
    echo "As root, run:" >&2
    echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
    echo "then run this command again." >&2
    exit 1
  fi
  echo "Installing the packages $needs: ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S "$here" -B "$build" -G Ninja "$@"
cmake --build "$build" --parallel "$(nproc)"
