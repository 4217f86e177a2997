#!/usr/bin/env bash
# Runs the program on a lesson library under Xvfb, walks it from the splash screen through
# the Quick Tour, Techniques, the pattern gallery, a pattern lesson in both hands, its
# practice view and a recipe preview, and saves a PNG screenshot of each:
#   scripts/screenshots.sh DEMO_DIR OUT_DIR
# Also takes the same screens at twice the pixel density (OUT_DIR/hidpi-*.png).
#
# The walk is driven through the test probe, a Qt plugin built with the tests
# (build/tests/app/plugins/generic): Qt loads it into the program when QT_PLUGIN_PATH and
# QT_QPA_GENERIC_PLUGINS name it, and it clicks controls by name, waits for windows and
# grabs the screen. The program itself reads no arguments, variables or settings.
set -euo pipefail

if [ "${1:-}" = "--inside" ]; then
  # Runs inside the X server: $2 the program, $3 the library, $4 the output folder, $5 a
  # name prefix for the files, $6 the probe's plugin folder.
  exe=$2 demo=$3 out=$4 prefix=$5 plugins=$6
  cd "$demo"
  coproc PROGRAM {
    QT_QPA_PLATFORM=xcb QT_PLUGIN_PATH="$plugins" QT_QPA_GENERIC_PLUGINS=hwprobe \
      exec "$exe" 2>"$out/${prefix}log.txt"
  }
  pid=$PROGRAM_PID
  to_program=${PROGRAM[1]}
  from_program=${PROGRAM[0]}

  # Sends one command to the probe and waits for its answer; stops the walk on a failure
  # unless a second argument says it may fail.
  probe() {
    local reply
    echo "$1" >&"$to_program"
    while :; do
      if ! IFS= read -r -t 120 reply <&"$from_program"; then
        echo "screenshots: no answer to '$1' (see $out/${prefix}log.txt)" >&2
        kill "$pid" 2>/dev/null || true
        exit 1
      fi
      case "$reply" in
        ok*) answer=${reply#ok }; return 0 ;;
        fail*)
          echo "screenshots: $1: $reply" >&2
          [ -n "${2:-}" ] && return 1
          kill "$pid" 2>/dev/null || true
          exit 1 ;;
      esac
    done
  }
  # Saves the screen under a window's frame; waits first for its pictures to settle.
  shot() {
    probe "sleep $3"
    probe "shot $out/$prefix$1.png $2"
    echo "  $out/$prefix$1.png"
  }

  probe "wait-shown SplashForm 60000"
  shot 1-splash SplashForm 1500
  probe "wait-shown Form1 60000"
  # The Quick Tour opens by itself a second after the tutor window is shown.
  probe "wait-items TopicsListBox 1"
  shot 2-quick-tour Form1 800
  probe "click TechniquesButton"
  probe "wait-shown StepForwardButton"
  shot 3-techniques Form1 800
  # Listening for spoken commands: the badge beside the video ("Listening", or "No microphone
  # found" without a sound server); V again leaves the setting off.
  probe "key Form1 V"
  shot 3-listening Form1 1500
  probe "key Form1 V"
  probe "click PatternsButton"
  probe "wait-shown PatternsListBox"
  probe "wait-items PatternsListBox 1"
  shot 4-pattern-gallery Form1 500

  # A pattern that has a recipe card, else the first one.
  probe "items PatternsListBox"
  IFS='|' read -r -a patterns <<<"$answer"
  pattern=$(echo "${patterns[0]}" | sed 's/^ *//; s/ *$//')
  for candidate in "Parachute Adams" "Bullet Head Hopper" "Deer Hair Cricket" "Parachute Hopper" \
                   "Deer Hair Ant" "Gold Ribbed Hare's Ear Nymph"; do
    for p in "${patterns[@]}"; do
      p=$(echo "$p" | sed 's/^ *//; s/ *$//')
      if [ "$p" = "$candidate" ]; then pattern=$p; break 2; fi
    done
  done
  probe "click-item PatternsListBox $pattern"
  probe "wait-shown RightLeftComboBox"
  shot 5-pattern-lesson-right-handed Form1 800
  probe "choose RightLeftComboBox 1"
  shot 6-pattern-lesson-left-handed Form1 800
  # The practice view: the lesson over the whole screen (F), and back (Esc).
  probe "key Form1 F"
  probe "wait-shown PracticeView"
  shot 8-practice-view "" 1500
  probe "key PracticeView Escape"
  probe "wait-hidden PracticeView"
  probe "click PrintRecipeButton"
  if probe "wait-shown TReportPreviewWindow 15000" optional; then
    shot 7-recipe-preview TReportPreviewWindow 1500
  fi
  # Closing the tutor window ends the program, the preview with it.
  probe "close Form1"
  for _ in $(seq 1 200); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    echo "screenshots: closing the tutor window did not end the program" >&2
    kill "$pid" 2>/dev/null || true
    exit 1
  fi
  wait "$pid" || { echo "screenshots: the program ended with an error" >&2; exit 1; }
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
plugins="$build_dir/tests/app/plugins"
demo=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
if [ ! -x "$exe" ]; then
  echo "screenshots: $exe is not built" >&2
  exit 1
fi
if ! ls "$plugins"/generic/*hw_probe* >/dev/null 2>&1; then
  echo "screenshots: the test probe is not built ($plugins/generic); build with the tests" >&2
  exit 1
fi

echo "screenshots of $demo:"
xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --inside "$exe" "$demo" "$out" "" "$plugins"
QT_SCALE_FACTOR=2 xvfb-run -a -s "-screen 0 2048x1536x24" \
  bash "$0" --inside "$exe" "$demo" "$out" "hidpi-" "$plugins"
echo "screenshots saved in $out"
