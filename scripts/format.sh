#!/usr/bin/env bash
# The one source format (.clang-format). With --check, lists the files that differ from it and
# fails; without, formats them in place.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--check" ]; then
  # One process for all files; it names each line that would change.
  if ! clang-format --style=file --dry-run --Werror "${files[@]}" 2>/tmp/hw-format.$$; then
    grep -E '^[^ ]+:[0-9]+:[0-9]+: ' /tmp/hw-format.$$ | cut -d: -f1 | sort -u | sed 's/^/format: differs from .clang-format: /' >&2
    echo "format: scripts/format.sh formats them" >&2
    rm -f /tmp/hw-format.$$
    exit 1
  fi
  rm -f /tmp/hw-format.$$
  exit 0
fi
clang-format --style=file -i "${files[@]}"
