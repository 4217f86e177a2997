#!/usr/bin/env bash
# The package test: makes the Debian package from a finished build (scripts/package.sh, with
# lintian), checks its desktop entry, metainfo, icons and manual pages, unpacks it into a
# temporary root (dpkg-deb -x) and runs the unpacked program under Xvfb through its launcher
# from an empty folder: the tutor window must open on the installed lessons. Without them,
# one message must say where the launcher looked and what a lesson library holds.
#   scripts/test-package.sh BUILD_DIR
# The screenshot and the program's log are left in BUILD_DIR/package-test.
# The tutor is driven through the test probe that the tests build (BUILD_DIR/tests/app/plugins).
set -euo pipefail

fail() {
  echo "test-package: $*" >&2
  exit 1
}

# Sends one probe command and waits for its answer ("ok ..." in $answer); fails the test on
# "fail ..." or silence.
probe() {
  local reply
  echo "$1" >&"${PROGRAM[1]}"
  while :; do
    IFS= read -r -t 180 reply <&"${PROGRAM[0]}" || fail "no answer to '$1'"
    case "$reply" in
      ok*) answer=${reply#ok }; return 0 ;;
      fail*) fail "$1: $reply" ;;
    esac
  done
}

# Waits up to two minutes for the program to end; its exit status goes into $status.
wait_for_end() {
  local pid=$1
  for _ in $(seq 1 1200); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    kill "$pid"
    fail "the program did not end"
  fi
  status=0
  wait "$pid" || status=$?
}

if [ "${1:-}" = "--inside" ]; then
  # Runs inside the X server: $2 what to run (tutor or message), $3 the unpacked usr folder,
  # $4 the empty folder to start in, $5 the probe's plugin folder, $6 the output folder.
  what=$2 usr=$3 empty=$4 plugins=$5 out=$6
  cd "$empty"
  coproc PROGRAM {
    QT_QPA_PLATFORM=xcb QT_PLUGIN_PATH="$plugins" QT_QPA_GENERIC_PLUGINS=hwprobe \
      exec "$usr/bin/hacklewright" 2>"$out/$what-log.txt"
  }
  pid=$PROGRAM_PID
  if [ "$what" = tutor ]; then
    probe "wait-shown Form1 180000"
    [ "$(readlink "/proc/$pid/cwd")" = "$usr/share/hacklewright/lessons" ] \
      || fail "the program does not run in the installed lessons"
    xdotool search --name '^Hacklewright - Volume 2$' >/dev/null || fail "no window titled 'Hacklewright - Volume 2'"
    probe "wait-items TopicsListBox 1 60000"
    probe "click PatternsButton"
    probe "wait-shown PatternsListBox"
    probe "wait-items PatternsListBox 1"
    probe "items PatternsListBox"
    echo "$answer" >"$out/gallery.txt"
    probe "sleep 800"
    probe "shot $out/gallery.png Form1"
    probe "close Form1"
    wait_for_end "$pid"
    [ "$status" = 0 ] || fail "the tutor ended with status $status"
  else
    probe "wait-shown QMessageBox 60000"
    echo "$answer" >"$out/message-box.txt"
    case "$answer" in *'title="Hacklewright"'*"$empty"*) ;; *) fail "unexpected box: $answer" ;; esac
    probe "shot $out/message.png QMessageBox"
    probe "key QMessageBox Return"
    wait_for_end "$pid"
    [ "$status" = 1 ] || fail "after the message the launcher ended with status $status"
  fi
  exit 0
fi

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: test-package.sh BUILD_DIR}" && pwd)
plugins=$build/tests/app/plugins
out=$build/package-test
id=org.hacklewright.Hacklewright
ls "$plugins"/generic/*hw_probe* >/dev/null 2>&1 || fail "the test probe is not built in $plugins"
rm -rf "$out"
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A folder of the user's is never emptied: the packager refuses it and leaves it as it was.
mkdir -p "$work/users"
echo keep > "$work/users/notes.txt"
if HW_BUILD_DIR=$build HW_PACKAGE_DIR=$work/users bash "$root/scripts/package.sh" --no-build 2>/dev/null; then
  fail "the packager took a folder holding the user's files"
fi
[ "$(cat "$work/users/notes.txt")" = keep ] && [ "$(ls -A "$work/users")" = notes.txt ] ||
  fail "the packager changed a folder it refused"

HW_BUILD_DIR=$build HW_PACKAGE_DIR=$work/package bash "$root/scripts/package.sh" --no-build
debs=("$work"/package/hacklewright_*_amd64.deb)
dpkg-deb -x "${debs[0]}" "$work/root"
usr=$work/root/usr
lessons=$usr/share/hacklewright/lessons

desktop-file-validate "$usr/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml" >"$out/appstream.txt" \
  || { cat "$out/appstream.txt"; fail "appstreamcli validate"; }
for size in 48 128 256; do
  icon=$usr/share/icons/hicolor/${size}x$size/apps/$id.png
  [ "$(identify -format '%wx%h' "$icon" 2>/dev/null)" = "${size}x$size" ] || fail "no $size-pixel icon at $icon"
done
zcat "$usr/share/man/man1/hacklewright.1.gz" | grep -q '^\.SH LESSON LIBRARIES' || fail "hacklewright's manual page"
page=$(zcat "$usr/share/man/man1/hacklewright-tool.1.gz" | sed 's/\\-/-/g')
# help ends with status 2, as a call without a command does.
help=$(env -u QT_QPA_PLATFORM "$usr/bin/hacklewright-tool" help 2>&1 || true)
commands=$(sed -n '/^commands:/,$p' <<<"$help" | awk 'NR > 1 && NF { print $1 }')
[ -n "$commands" ] || fail "the unpacked hacklewright-tool lists no commands"
for command in $commands; do
  grep -q "^\.B $command\b" <<<"$page" || fail "hacklewright-tool's manual page lacks $command"
done
[ -d "$lessons/Flies" ] || fail "no lesson library at $lessons"

mkdir "$work/empty"
xvfb=(xvfb-run -a -s "-screen 0 1024x768x24")
"${xvfb[@]}" bash "$0" --inside tutor "$usr" "$work/empty" "$plugins" "$out"
[ -s "$out/gallery.txt" ] || fail "the gallery listed no pattern"
colours=$(identify -format '%k' "$out/gallery.png")
case "$(identify -format '%wx%h' "$out/gallery.png")" in
  632x453 | 640x480) ;; # the client area alone when no window manager draws a frame
  *) fail "the screenshot is not the tutor window" ;;
esac
[ "$colours" -gt 1000 ] || fail "the gallery screenshot has only $colours colours"

# Without the installed lessons: started from a terminal with no display, the message goes
# to standard error; started with no terminal on a display, as from the menu, it is a box.
mv "$lessons" "$lessons.away"
status=0
(cd "$work/empty" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$usr/bin/hacklewright" \
   </dev/null >"$out/message-stdout.txt" 2>"$out/message.txt") || status=$?
[ "$status" = 1 ] || fail "with no lesson library the launcher ended with status $status"
for word in "$work/empty" "$lessons" Flies QuickTour Techniques SplashScreen; do
  grep -qF "$word" "$out/message.txt" || fail "the no-library message does not name $word: $(cat "$out/message.txt")"
done
[ "$(grep -c 'found no lesson library' "$out/message.txt")" = 1 ] || fail "the message is not said once"
"${xvfb[@]}" bash "$0" --inside message "$usr" "$work/empty" "$plugins" "$out"
echo "test-package: the unpacked package starts on its own lessons; screenshot $out/gallery.png"
