#!/usr/bin/env bash
# Configures and builds into build/ (or $HW_BUILD_DIR) with Ninja.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${HW_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=${HW_BUILD_TYPE:-RelWithDebInfo} "$@" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"
