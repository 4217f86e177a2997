#!/usr/bin/env bash
# Builds the Debian package hacklewright_<version>_amd64.deb with CPack and checks it with
# lintian (no errors allowed); prints where it is.
#   scripts/package.sh [--no-build]
#   HW_BUILD_DIR     the build folder (build)
#   HW_PACKAGE_DIR   where the package goes (BUILD/package)
# --no-build packages the build folder as it stands, which must be built already.
#
# lintian reports no errors and no warnings. Its notes at information level, accepted:
#   arch-dep-package-has-big-usr-share  the demo lesson library's videos (about 54 MB); one
#                                       package keeps the install a single step
#   binary-has-unneeded-section         the .comment section CPack's strip leaves; harmless
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${HW_BUILD_DIR:-build}
out=${HW_PACKAGE_DIR:-$build_dir/package}
if [ "${1:-}" != "--no-build" ]; then
  bash scripts/setup.sh
  bash scripts/build.sh
fi
if [ ! -f "$build_dir/CPackConfig.cmake" ]; then
  echo "package: $build_dir is not configured; run without --no-build" >&2
  exit 1
fi
# The output folder may be the user's: only what this script made there is replaced. A
# folder that holds anything else (and no mark of an earlier run) is refused untouched.
mark="$out/.hacklewright-package"
if [ -d "$out" ] && [ -n "$(ls -A "$out")" ] && [ ! -f "$mark" ]; then
  echo "package: $out holds files this script did not make; name an empty or new folder in HW_PACKAGE_DIR" >&2
  exit 1
fi
mkdir -p "$out"
touch "$mark"
rm -rf "$out/_CPack_Packages"
rm -f "$out"/hacklewright_*_amd64.deb "$out/cpack.log" "$out/lintian.txt"
if ! cpack --config "$build_dir/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1; then
  cat "$out/cpack.log" >&2
  echo "package: cpack failed" >&2
  exit 1
fi
rm -rf "$out/_CPack_Packages"
debs=("$out"/hacklewright_*_amd64.deb)
deb=${debs[0]}
if [ ! -f "$deb" ]; then
  echo "package: cpack made no hacklewright_*_amd64.deb in $out" >&2
  exit 1
fi
status=0
lintian --fail-on error "$deb" >"$out/lintian.txt" 2>&1 || status=$?
# It notes that it runs as root, which the test command may do; that is no finding.
grep -v 'running with root privileges' "$out/lintian.txt" || true
if [ "$status" -ne 0 ]; then
  echo "package: lintian found errors in $deb" >&2
  exit 1
fi
echo "package: $deb"
