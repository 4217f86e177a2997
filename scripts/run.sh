#!/usr/bin/env bash
# Command 1: install what is missing, build, make the demo lesson library, and run the
# tutor on it. With a display the tutor starts there; without one it runs under Xvfb,
# walks the screens (splash, Quick Tour, Techniques, gallery, a lesson in both hands, a
# recipe preview), saves a screenshot of each and says where they are.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
build_dir=${HW_BUILD_DIR:-build}
demo=$build_dir/demo
# Made again when the tool that writes it is newer (its lessons may have changed).
if [ ! "$demo/.complete" -nt "$build_dir/tools/hacklewright-tool" ]; then
  rm -rf "$demo"
  "$build_dir/tools/hacklewright-tool" make-demo "$demo"
  touch "$demo/.complete"
fi
program=$(pwd)/$build_dir/app/hacklewright
case "$build_dir" in /*) program=$build_dir/app/hacklewright ;; esac
if [ ! -x "$program" ]; then
  echo "run: $program was not built" >&2
  exit 1
fi
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  # The program reads its lessons from the current folder.
  cd "$demo" && exec "$program"
fi
exec bash scripts/screenshots.sh "$demo" "$build_dir/screenshots"
