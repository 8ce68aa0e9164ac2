#!/usr/bin/env bash
# What Sondrel can show without a desktop: the text of its demo recording, decoded in the terminal.
#   scripts/demo_text.sh [bin-dir]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$here/build/bin}
cat <<TXT
Sondrel is a desktop program: it needs a graphical desktop (X11 or Wayland), and none was found
(DISPLAY and WAYLAND_DISPLAY are not set). Start scripts/run.sh again from a desktop session, or
over ssh with X forwarding (ssh -X).

Meanwhile, here is what its receiver copies from the demo recording (bin/sondrel_demo.wav):
three of its stations, decoded in the terminal by bin/psk_decode.

TXT
"$bin/psk_decode" -s 60 -a 15 -f 1500 -f 1000 -m qpsk -f 2300 "$bin/sondrel_demo.wav"
