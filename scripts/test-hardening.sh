#!/usr/bin/env bash
# The hardening half of the test command: the tests of the modules that handle untrusted
# bytes, memory and threads under AddressSanitizer and UndefinedBehaviorSanitizer (the
# windows' own tests add nothing there that the soak and the broken-content corpus do not
# already drive through the tutor), and every fuzz target for a bounded time (clang's
# libFuzzer). Both come from one build (build-fuzz): every library there carries the
# sanitizers and libFuzzer's coverage hooks, which the test programs leave unused, so the
# tree is compiled once rather than once for each. Run from anywhere; exits non-zero on the
# first failure.
#   HW_FUZZ_DIR        build folder (build-fuzz)
#   HW_FUZZ_SECONDS    time per fuzz target (10: about 45 s for all eight, two at a time)
set -euo pipefail
cd "$(dirname "$0")/.."
fuzz=${HW_FUZZ_DIR:-build-fuzz}
seconds=${HW_FUZZ_SECONDS:-10}
jobs=$(nproc)
echo "test-hardening: sanitizer and fuzz build in $fuzz"
# Line tables are all a sanitizer report needs; full debug information only slows the build.
cmake -S . -B "$fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1" "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -g1" \
  -DHW_BUILD_BENCH=OFF -DHW_WERROR=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DHW_BUILD_FUZZ=ON -DHW_SANITIZE=ON -DHW_BUILD_TESTS=ON \
  "-DHW_TEST_MODULES=common;content;media;report;tools;hardening" >/dev/null
cmake --build "$fuzz" --parallel "$jobs"

echo "test-hardening: the test suite under the sanitizers"
# The sound tests play into a private null sink (already running when called from test.sh).
if pulse_env="$(bash scripts/pulse-null-sink.sh)"; then
  eval "$pulse_env"
else
  echo "test-hardening: no sound server; the sound tests will skip"
fi
# Every test gets its sanitizer options from the build (cmake/HwConfig.cmake).
# Twice as many tests as cores, as in the first half (on two cores: 94 s instead of 148 s).
ctest --test-dir "$fuzz" --output-on-failure --parallel "$((2 * jobs))" --timeout 1200

echo "test-hardening: fuzz targets, ${seconds} s each, $jobs at a time"
# One target's run, its figures or, when it broke, the end of its log and where its input is.
fuzz_one() {
  local target=$1
  if ! fuzz/run.sh "$fuzz" "$target" "$seconds" > "$fuzz/fuzz-$target.log" 2>&1; then
    tail -n 60 "$fuzz/fuzz-$target.log"
    echo "test-hardening: fuzz_$target broke; the input is in $fuzz/fuzz-artifacts/$target/" >&2
    return 1
  fi
  echo "  fuzz_$target: $(grep -E '^Done|stat::new_units_added' "$fuzz/fuzz-$target.log" | tr '\n' ' ')"
}
export -f fuzz_one
export fuzz seconds
printf '%s\n' ini integer path bitmap clip text check pages | xargs -P "$jobs" -I{} bash -c 'fuzz_one {}'
echo "test-hardening: clean"
