#!/usr/bin/env bash
# Installs what the build, the tests and the demo run need, and nothing when all of it is there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
  libavformat-dev libavcodec-dev libswscale-dev libavutil-dev ffmpeg
  libswresample-dev libavfilter-dev libpulse-dev pulseaudio pulseaudio-utils
  libpocketsphinx-dev libsphinxbase-dev pocketsphinx-en-us libspeexdsp-dev
  espeak-ng flite sox ccache time
  weston qt6-wayland
  libgtest-dev googletest
  xvfb xauth xdotool imagemagick
  poppler-utils fonts-liberation fontconfig
  clang libclang-rt-14-dev clang-format
  cups cups-bsd printer-driver-cups-pdf
  dpkg-dev lintian desktop-file-utils appstream
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
