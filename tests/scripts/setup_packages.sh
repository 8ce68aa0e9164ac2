#!/usr/bin/env bash
# scripts/setup.sh on a machine that has none of the packages, as a user without sudo: the line
# it prints for root holds what the program needs, and with --tests also what the tests need.
set -uo pipefail
setup=$1
stubs=$(mktemp -d)
trap 'rm -rf "$stubs"' EXIT
printf '#!/bin/sh\nexit 1\n' >"$stubs/dpkg-query"
printf '#!/bin/sh\necho 1000\n' >"$stubs/id"
chmod +x "$stubs/dpkg-query" "$stubs/id"
for tool in dirname grep; do ln -s "$(command -v $tool)" "$stubs/$tool"; done
bash=$(command -v bash)

program="build-essential cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libgl-dev libsqlite3-dev libfftw3-dev portaudio19-dev libasound2-dev"
tests="libgtest-dev googletest xvfb xauth pulseaudio pulseaudio-utils libasound2-plugins fonts-urw-base35 fonts-liberation2"
failed=0
# options | what the root line installs
while IFS='|' read -r options expected; do
  said=$(PATH=$stubs "$bash" "$setup" $options "$stubs/build" 2>&1)
  line=$(printf '%s\n' "$said" | grep -- '--no-install-recommends' | sed 's/.*--no-install-recommends //')
  if [ "$line" != "$expected" ]; then
    echo "FAIL: setup.sh $options installs '$line', expected '$expected'"
    failed=1
  fi
done <<CASES
|$program
--tests|$program $tests
CASES
checked=$(PATH=$stubs "$bash" "$setup" --check --tests)
[ "$checked" = "missing: $program $tests" ] || { echo "FAIL: --check --tests said '$checked'"; failed=1; }
[ $failed -eq 0 ] && echo "each set of packages as expected"
