#!/usr/bin/env bash
# Makes sure a private PulseAudio server runs with a null sink, so that the clip device's
# sound tests play into it and record its monitor. Safe to run again.
#   eval "$(bash scripts/pulse-null-sink.sh [runtime-dir])"   (default: a folder in /tmp for this checkout)
# Prints the export lines the tests need on success; exits non-zero with a reason otherwise.
set -euo pipefail

# One server per checkout, so that the tests of two checkouts never hear each other.
dir="${1:-/tmp/hacklewright-pulse-$(cd "$(dirname "$0")/.." && pwd | md5sum | cut -c1-8)}"
mkdir -p "$dir"
chmod 700 "$dir"
socket="$dir/pulse/native"

server_running() {
  PULSE_SERVER="unix:$socket" pactl info >/dev/null 2>&1
}

if ! command -v pulseaudio >/dev/null || ! command -v pactl >/dev/null; then
  echo "pulse-null-sink: pulseaudio or pactl is missing" >&2
  exit 2
fi

if ! server_running; then
  # As root the daemon warns that it runs system-wide and goes on. Its own runtime folder
  # keeps it away from a desktop session's server.
  XDG_RUNTIME_DIR="$dir" PULSE_RUNTIME_PATH="$dir/pulse" HOME="$dir" \
    pulseaudio --daemonize=yes --exit-idle-time=-1 -n --use-pid-file=yes \
      --load=module-null-sink --load=module-native-protocol-unix >"$dir/daemon.log" 2>&1 || true
  for _ in $(seq 1 100); do
    server_running && break
    sleep 0.1
  done
  if ! server_running; then
    echo "pulse-null-sink: the server did not come up (see $dir/daemon.log)" >&2
    exit 3
  fi
fi

echo "export XDG_RUNTIME_DIR='$dir'"
echo "export PULSE_RUNTIME_PATH='$dir/pulse'"
echo "export PULSE_SERVER='unix:$socket'"
