#!/usr/bin/env bash
# Installs what is missing, builds and runs every test; non-zero on any failure.
#   ./test.sh [ctest args…]              the suites, offscreen, and the desktop tier
#   ./test.sh --sanitize [ctest args…]   the same suites built with ASan and UBSan, then each fuzz
#                                        target for a minute (built with clang)
# The suites run shuffled; GTEST_RANDOM_SEED=N replays the order a failed run printed.
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
# The runtime's __tls_get_addr hook guesses a dynamic TLS block's bounds from an old glibc header:
# when a block happens to start 16 bytes into a page it reads two stray words as a range, and the
# leak checker's tracer crashes scanning it, whichever compiler built us. Without the hook the
# checker still counts every block the dynamic linker allocates, those among them, as reachable:
# this takes away a crash, not a leak report.
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1:abort_on_error=0:intercept_tls_get_addr=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# A failed suite does not keep the fuzz targets from running: both outcomes are reported.
failed=0
ctest --test-dir build-sanitize --output-on-failure -E '^Desktop$' "$@" || failed=1

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
  if DW_FUZZ_SEED_DIR="$corpus" "$target" -seed=1 -max_total_time=60 -timeout=120 -rss_limit_mb=4096 "$corpus" >"$log" 2>&1; then
    echo "test.sh: $name: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$log" || echo 'no run count in its log')"
  else
    tail -60 "$log"
    echo "test.sh: $name failed; its log: $log"
    failed=1
  fi
done
exit $failed
