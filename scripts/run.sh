#!/usr/bin/env bash
# Sets up, builds and starts Sondrel. Without a sound card it plays the demo recording; without a
# desktop it says so and shows the demo's decoded text in the terminal instead.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
# Only what the program needs: the tests and benchmarks are built by scripts/test.sh.
"$here/scripts/setup.sh" "$here/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSONDREL_BUILD_TESTS=OFF -DSONDREL_BUILD_BENCH=OFF
bin=$here/build/bin
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$here/scripts/demo_text.sh" "$bin"
fi
if [ -z "${SONDREL_AUDIO:-}" ] && ! "$bin/sondrel-sound-devices" --check 2>/dev/null; then
  echo "No sound card with both capture and playback was found: playing the demo recording (SONDREL_AUDIO=demo)."
  echo "Its five stations are on 800 to 2300 Hz: click a trace in the spectrum to tune it."
  export SONDREL_AUDIO=demo
fi
exec "$bin/sondrel" "$@"
