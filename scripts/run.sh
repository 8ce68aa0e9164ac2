#!/usr/bin/env bash
# Sets up, builds and starts Sondrel. Without a sound card it plays the demo recording;
# without a display it runs under a virtual one (Xvfb).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/setup.sh" "$here/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
if [ -z "${SONDREL_AUDIO:-}" ] && [ ! -e /dev/snd/pcmC0D0c ]; then
  echo "No sound card found: playing the demo recording (SONDREL_AUDIO=demo)."
  export SONDREL_AUDIO=demo
fi
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting under Xvfb."
  exec xvfb-run -a "$here/build/bin/sondrel" "$@"
fi
exec "$here/build/bin/sondrel" "$@"
