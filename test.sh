#!/usr/bin/env bash
# Installs what is missing, builds and runs every test; non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/ensure-packages.sh
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDRAFTWERK_TESTS=ON >/dev/null
cmake --build build-test
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build-test --output-on-failure "$@"
