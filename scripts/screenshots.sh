#!/usr/bin/env bash
# Runs the tutor on a lesson library under Xvfb, walks its four screens as a user would
# (mouse clicks at the controls' places, keys) and saves a PNG screenshot of each.
#   scripts/screenshots.sh DEMO_DIR OUT_DIR
# Also takes the same screens at twice the pixel density (OUT_DIR/hidpi-*.png).
set -euo pipefail

if [ "${1:-}" = "--inside" ]; then
  # Runs inside the X server: $2 the program, $3 the library, $4 the output folder, $5 a
  # name prefix for the files.
  exe=$2 demo=$3 out=$4 prefix=$5 scale=$6
  cd "$demo"
  "$exe" >"$out/${prefix}log.txt" 2>&1 &
  pid=$!
  wid=""
  for _ in $(seq 1 200); do
    wid=$(xdotool search --name "^Hacklewright - Volume 2$" 2>/dev/null | head -n1 || true)
    [ -n "$wid" ] && break
    sleep 0.1
  done
  if [ -z "$wid" ]; then
    echo "screenshots: the tutor window did not appear" >&2
    kill "$pid" 2>/dev/null || true
    exit 1
  fi
  # Positions are the controls' places in the window, in its own pixels.
  at() { xdotool mousemove --window "$wid" $(($1 * scale)) $(($2 * scale)) click 1; }
  shot() { sleep "$2"; import -window "$wid" "$out/$prefix$1.png"; echo "$out/$prefix$1.png"; }
  # The Quick Tour opens by itself a second after the window is shown.
  shot 1-quick-tour 3
  at 561 157                      # Techniques
  shot 2-techniques 2
  at 561 205                      # Patterns
  shot 3-pattern-gallery 1
  at 126 201                      # the first picture of the gallery
  shot 4-pattern-lesson 2
  at 148 433                      # Play: the face turns to Stop while it plays
  shot 5-lesson-playing 1
  at 561 428                      # Goin' Fishin' ends the program
  for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    echo "screenshots: the exit button did not end the program" >&2
    kill "$pid" 2>/dev/null || true
    exit 1
  fi
  exit 0
fi

if [ $# -ne 2 ]; then
  echo "usage: $0 DEMO_DIR OUT_DIR" >&2
  exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${HW_BUILD_DIR:-build}
case "$build_dir" in /*) ;; *) build_dir="$root/$build_dir" ;; esac
exe="$build_dir/app/hacklewright"
demo=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
if [ ! -x "$exe" ]; then
  echo "screenshots: $exe is not built" >&2
  exit 1
fi

echo "screenshots of $demo:"
xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --inside "$exe" "$demo" "$out" "" 1
QT_SCALE_FACTOR=2 xvfb-run -a -s "-screen 0 2048x1536x24" bash "$0" --inside "$exe" "$demo" "$out" "hidpi-" 2
echo "screenshots saved in $out"
