#!/usr/bin/env bash
# Runs av_bench against the private null sink and writes its figures into bench/README.md,
# between the av_bench markers (the section is replaced, never typed by hand).
#   bash bench/media/av-bench.sh [build-dir] [runs]   (defaults: build, 1; about 2.5 min a run)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
runs=${2:-1}
eval "$(bash scripts/pulse-null-sink.sh)"
cmake --build "$build" --target av_bench >/dev/null
section=$(mktemp)
trap 'rm -f "$section"' EXIT
for run in $(seq 1 "$runs"); do
  echo "av-bench: run $run of $runs" >&2
  [ "$run" -gt 1 ] && echo >>"$section"
  nice "$build/bench/media/av_bench" >>"$section"
done
readme=bench/README.md
begin='<!-- av_bench figures: written by bench/media/av-bench.sh -->'
end='<!-- end of av_bench figures -->'
if ! grep -qF "$begin" "$readme"; then
  printf '\n%s\n%s\n' "$begin" "$end" >>"$readme"
fi
awk -v begin="$begin" -v end="$end" -v file="$section" '
  $0 == begin { print; while ((getline line < file) > 0) print line; skip = 1; next }
  $0 == end { skip = 0 }
  !skip { print }
' "$readme" >"$readme.new"
mv "$readme.new" "$readme"
echo "av-bench: figures written into $readme" >&2
