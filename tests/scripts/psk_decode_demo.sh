#!/usr/bin/env bash
# psk_decode on the demo recording, whole and cut off in the middle of its texts: each station
# prints exactly what was sent (nothing decoded from the noise before it), and a recording that
# ends mid-text still prints the characters received whole before the end.
#   psk_decode_demo.sh BIN_DIR
set -euo pipefail
bin=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fails=0
# seconds kept (0: all) | channel options | expected text
while IFS='|' read -r seconds options expected; do
    wav=$bin/sondrel_demo.wav
    if [ "$seconds" != 0 ]; then
        wav=$work/cut.wav
        head -c $((44 + 2 * 8000 * seconds)) "$bin/sondrel_demo.wav" >"$wav"
    fi
    # shellcheck disable=SC2086
    got=$("$bin/psk_decode" $options "$wav" | tr -d '\n')
    if [ "$got" != "$expected" ]; then
        echo "FAIL ($seconds s, $options): got '$got', expected '$expected'"
        fails=$((fails + 1))
    fi
done <<'CASES'
0|-m qpsk -a 15 -s 60 -f 2300|QPSK31 test from the Sondrel demo: the quick brown fox jumps over the lazy dog 0123456789
0|-m bpsk -a 15 -s 60 -f 1500|CQ CQ de N2DEMO N2DEMO - BPSK31 from the Sondrel demo: the quick brown fox jumps over the lazy dog 0123456789 pse K
22|-m qpsk -a 15 -s 60 -f 2300|QPSK31 test from the Sondrel demo: the quick brown fox jumps over the lazy dog 0123456
22|-m bpsk -a 15 -s 60 -f 1500|CQ CQ de N2DEMO N2DEMO - BPSK31 from the Sondrel demo: the quick brown fox jumps over the l
CASES
[ "$fails" = 0 ] && echo "all copied as sent"
