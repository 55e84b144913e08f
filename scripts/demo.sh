#!/usr/bin/env bash
# Sets up and runs the client on a demo station.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
BUILD_DIR="${BUILD_DIR:-build}"
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$BUILD_DIR" -j "$(nproc)"

if [ ! -x "$BUILD_DIR/bin/Trakvue" ]; then
  echo "demo: the libraries are built in $BUILD_DIR/bin:"
  ls "$BUILD_DIR/bin"
  echo "demo: the client program and the demo station are not part of this build yet."
  exit 0
fi
