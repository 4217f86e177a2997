#!/usr/bin/env bash
# Command 2: install what is missing, build, and run every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
bash scripts/cups-pdf-queue.sh HacklewrightPDF || echo "CUPS unavailable: the printing test will skip"
# A private sound server with a null sink: the clip device's sound tests record what it plays.
if pulse_env="$(bash scripts/pulse-null-sink.sh)"; then
  eval "$pulse_env"
else
  echo "No sound server: the sound tests will skip"
fi
ctest --test-dir build --output-on-failure --parallel "$(nproc)" --timeout 600
# The same suite under AddressSanitizer and UndefinedBehaviorSanitizer, then every fuzz
# target for a bounded time.
bash scripts/test-hardening.sh
