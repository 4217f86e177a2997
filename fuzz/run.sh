#!/usr/bin/env bash
# Runs one fuzz target for a bounded time: fuzz/run.sh BUILD_DIR NAME SECONDS [libFuzzer args]
#   NAME is ini, integer, path, bitmap, clip, text, check or pages. The seeds (fuzz/corpus/NAME) and the
#   regression inputs (fuzz/regressions/NAME) are read; new inputs go to a working corpus in
#   BUILD_DIR/fuzz-work/NAME, kept between runs; a crashing input lands in
#   BUILD_DIR/fuzz-artifacts/NAME/. Exits non-zero when the target breaks.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build=${1:?usage: run.sh BUILD_DIR NAME SECONDS [libFuzzer args]}
name=${2:?target name}
seconds=${3:?seconds}
shift 3
binary="$build/fuzz/fuzz_$name"
[ -x "$binary" ] || { echo "run.sh: $binary is not built" >&2; exit 2; }
work="$build/fuzz-work/$name"
artifacts="$build/fuzz-artifacts/$name"
mkdir -p "$work" "$artifacts"
inputs=("$work" "$here/corpus/$name")
[ -d "$here/regressions/$name" ] && inputs+=("$here/regressions/$name")

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# Leaks inside the system libraries (fontconfig, the Qt platform plugin) are theirs.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$here/lsan.supp:print_suppressions=0}

# -timeout: one input taking longer than this is a hang.
exec "$binary" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=3072 \
  -artifact_prefix="$artifacts/" -print_final_stats=1 "$@" "${inputs[@]}"
