#!/usr/bin/env bash
# Installs what is missing, builds and runs every test; non-zero on any failure.
#   ./test.sh [ctest args…]              the suites, offscreen, and the desktop tier
#   ./test.sh --sanitize [ctest args…]   the same suites built with ASan and UBSan, then each fuzz
#                                        target for a minute when clang is present
set -euo pipefail
cd "$(dirname "$0")"
sanitize=0
if [ "${1:-}" = "--sanitize" ]; then
  sanitize=1
  shift
fi
./scripts/ensure-packages.sh
export QT_QPA_PLATFORM=offscreen

if [ $sanitize -eq 0 ]; then
  cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDRAFTWERK_TESTS=ON >/dev/null
  cmake --build build-test
  ctest --test-dir build-test --output-on-failure "$@"
  scripts/check-format.sh
  exit 0
fi

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDRAFTWERK_TESTS=ON \
  -DDRAFTWERK_BENCH=OFF -DDRAFTWERK_SANITIZE=ON >/dev/null
cmake --build build-sanitize
# Some tests ask for impossible allocations on purpose: they must get null, not an abort.
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1:abort_on_error=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
ctest --test-dir build-sanitize --output-on-failure -E '^Desktop$' "$@"

if ! command -v clang++ >/dev/null 2>&1; then
  echo "test.sh: clang++ is not installed; the fuzz targets are skipped"
  exit 0
fi
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDRAFTWERK_TESTS=OFF \
  -DDRAFTWERK_BENCH=OFF -DDRAFTWERK_FUZZ=ON >/dev/null
cmake --build build-fuzz
mkdir -p build-fuzz/logs
for target in build-fuzz/fuzz_*; do
  [ -f "$target" ] && [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="build-fuzz/corpus/$name"
  log="build-fuzz/logs/$name.log"
  mkdir -p "$corpus"
  echo "test.sh: $name for 60 s"
  DW_FUZZ_SEED_DIR="$corpus" "$target" -seed=1 -max_total_time=60 -timeout=120 -rss_limit_mb=4096 "$corpus" >"$log" 2>&1 ||
    { tail -60 "$log"; echo "test.sh: $name failed; its log: $log"; exit 1; }
done
