#!/usr/bin/env bash
# Sets up and runs every test: installs what is missing, configures,
# builds and runs ctest, under Xvfb when no display is set.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
BUILD_DIR="${BUILD_DIR:-build}"
JOBS="${JOBS:-$(nproc)}"

cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${CMAKE_ARGS:-}
cmake --build "$BUILD_DIR" -j "$JOBS"

CTEST=(ctest --test-dir "$BUILD_DIR" --output-on-failure -j "$JOBS" "$@")
if [ -z "${DISPLAY:-}" ]; then
  xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "${CTEST[@]}"
else
  "${CTEST[@]}"
fi
