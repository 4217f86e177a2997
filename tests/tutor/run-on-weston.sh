#!/usr/bin/env bash
# Runs test cases on Wayland: a headless weston of their own (1920 x 1080 at a pixel ratio of
# 2) and Qt's wayland platform.
#   run-on-weston.sh TEST_BINARY GTEST_FILTER
set -euo pipefail
binary=$1 filter=$2
runtime=$(mktemp -d)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime
socket=hw-weston-$$
weston --backend=headless-backend.so --width=1920 --height=1080 --scale=2 --idle-time=0 \
  --socket="$socket" >"$runtime/weston.log" 2>&1 &
weston_pid=$!
trap 'kill "$weston_pid" 2>/dev/null || true; wait "$weston_pid" 2>/dev/null || true; rm -rf "$runtime"' EXIT
# Up to a minute for the compositor's socket on a loaded machine.
for _ in $(seq 1 600); do
  [ -S "$runtime/$socket" ] && break
  kill -0 "$weston_pid" 2>/dev/null || break
  sleep 0.1
done
if [ ! -S "$runtime/$socket" ]; then
  echo "run-on-weston: weston did not start:" >&2
  cat "$runtime/weston.log" >&2
  exit 1
fi
WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland "$binary" --gtest_filter="$filter"
