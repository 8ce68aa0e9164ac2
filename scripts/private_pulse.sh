#!/usr/bin/env bash
# A private PulseAudio sound server of its own, for trying the program's sound path on a live
# server (tests, benchmarks, by hand) without touching the desktop's: its own runtime folder,
# socket and configuration, and two null sinks at 8000 samples per second, mono:
#   "tx", the default sink: what the program plays; record it from "tx.monitor"
#   "rx", whose monitor "rx.monitor" is the default source: play into "rx" what the program hears
#   scripts/private_pulse.sh start DIR   starts it (DIR is made); prints the variables to export
#   scripts/private_pulse.sh stop DIR    ends it
# Works for root too (as in CI). Exit 2 when pulseaudio is not installed.
set -euo pipefail
cmd=${1:?start or stop}
dir=${2:?the server\'s folder}
stop_server() {
  if [ -f "$dir/server.pid" ]; then
    pid=$(cat "$dir/server.pid")
    kill -CONT "$pid" 2>/dev/null || true
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 30); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
    rm -f "$dir/server.pid" "$dir/native"
  fi
}
case "$cmd" in
start)
  command -v pulseaudio >/dev/null 2>&1 || { echo "pulseaudio is not installed" >&2; exit 2; }
  stop_server # one server per folder
  mkdir -p "$dir/runtime" "$dir/home"
  dir=$(cd "$dir" && pwd)
  cat >"$dir/server.pa" <<PA
load-module module-native-protocol-unix auth-anonymous=1 socket=$dir/native
load-module module-null-sink sink_name=tx rate=8000 channels=1 format=s16le
load-module module-null-sink sink_name=rx rate=8000 channels=1 format=s16le
set-default-sink tx
set-default-source rx.monitor
PA
  rm -f "$dir/native"
  # No D-Bus, no autospawn, no exit when idle; a root user is allowed (no --system).
  HOME="$dir/home" XDG_RUNTIME_DIR="$dir/runtime" PULSE_RUNTIME_PATH="$dir/runtime" \
    setsid pulseaudio --system=no --daemonize=no -n -F "$dir/server.pa" --exit-idle-time=-1 \
    --use-pid-file=no --disable-shm=yes --log-target=file:"$dir/server.log" --log-level=warning \
    </dev/null >/dev/null 2>&1 &
  echo $! >"$dir/server.pid"
  for _ in $(seq 100); do
    if [ -S "$dir/native" ] && PULSE_SERVER="unix:$dir/native" pactl info >/dev/null 2>&1; then
      echo "PULSE_SERVER=unix:$dir/native"
      echo "PULSE_RUNTIME_PATH=$dir/runtime"
      echo "PULSE_PID=$(cat "$dir/server.pid")"
      exit 0
    fi
    kill -0 "$(cat "$dir/server.pid")" 2>/dev/null || break
    sleep 0.1
  done
  echo "the private PulseAudio server did not start; its log:" >&2
  cat "$dir/server.log" >&2 2>/dev/null || true
  exit 1
  ;;
stop)
  stop_server
  ;;
*) echo "start or stop" >&2; exit 1 ;;
esac
