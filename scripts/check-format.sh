#!/usr/bin/env bash
# Checks that every C++ file is laid out as .clang-format says; with --fix, lays them out.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
if ! clang-format --dry-run --Werror "${files[@]}" 2>/tmp/draftwerk-format.$$; then
  grep -E ':[0-9]+:[0-9]+: (warning|error):' /tmp/draftwerk-format.$$ | cut -d: -f1 | sort -u | sed 's/^/  /'
  rm -f /tmp/draftwerk-format.$$
  echo "These files are not laid out as .clang-format says; fix them with: scripts/check-format.sh --fix"
  exit 1
fi
rm -f /tmp/draftwerk-format.$$
