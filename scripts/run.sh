#!/usr/bin/env bash
# Command 1: install what is missing, build, make the demo lesson library, and run the
# tutor on it. Without a display it runs under Xvfb, walks the screens and saves
# screenshots.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
demo=build/demo
if [ ! -f "$demo/.complete" ]; then
  rm -rf "$demo"
  build/tools/hacklewright-tool make-demo "$demo"
  touch "$demo/.complete"
fi
if [ -x build/app/hacklewright ]; then
  if [ -n "${DISPLAY:-}" ]; then
    cd "$demo" && exec ../app/hacklewright
  fi
  exec bash scripts/screenshots.sh "$demo" build/screenshots
fi
# Until the tutor window exists, show what the catalogue makes of the library.
cd "$demo" && exec ../tools/hacklewright-tool catalog
