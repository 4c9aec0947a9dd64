#!/usr/bin/env bash
# Installs what is missing, builds in Release and starts Draftwerk with the files given.
set -euo pipefail
# The files named keep their meaning from the folder it was started in: no change of folder here.
here="$(cd "$(dirname "$0")" && pwd)"
"$here/scripts/ensure-packages.sh"
cmake -S "$here" -B "$here/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DDRAFTWERK_TESTS=OFF -DDRAFTWERK_BENCH=OFF >/dev/null
cmake --build "$here/build" --target draftwerk
# Palettes and window arrangement place their own windows, which X11 allows.
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-xcb}"
exec "$here/build/draftwerk" "$@"
