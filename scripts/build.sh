#!/usr/bin/env bash
# Configures and builds into build/ (or $HW_BUILD_DIR) with Ninja: the one configuration
# both commands use (warnings are errors), so that the tests after a run rebuild nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${HW_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=${HW_BUILD_TYPE:-RelWithDebInfo} \
  -DHW_WERROR=ON "$@" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"
