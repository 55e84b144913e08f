#!/usr/bin/env bash
# Sets up and runs the client on a demo station: builds, records an hour of
# history for four cameras, keeps recording live in the background, and
# starts Trakvue on a program folder of its own. Without a display it runs
# the client under Xvfb, saves screenshots of the main window in live and
# in archive mode, and stops everything it started.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
BUILD_DIR="${BUILD_DIR:-build}"
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$BUILD_DIR" -j "$(nproc)"
BIN="$(cd "$BUILD_DIR/bin" && pwd)"

DEMO="${TRAKVUE_DEMO_DIR:-/tmp/trakvue-demo}"
rm -rf "$DEMO"
mkdir -p "$DEMO/home" "$DEMO/run" "$DEMO/screenshots"
echo "demo: recording one hour of history for 4 cameras into $DEMO/station"
"$BIN/dvrstation" create "$DEMO/station" --hours 1 | grep -E "done|history|pause|stall"

pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
}
trap cleanup EXIT

"$BIN/dvrstation" record "$DEMO/station" > "$DEMO/recorder.log" 2>&1 &
pids+=($!)

cp -r "$BIN/Res" "$BIN/Help.html" "$DEMO/home/"
python3 scripts/make_client_config.py "$DEMO/home/Reg_Client.ini" "$DEMO/station"
export TRAKVUE_HOME="$DEMO/home" TRAKVUE_RUNTIME_DIR="$DEMO/run" TRAKVUE_REGISTRY="$DEMO/registry.ini"

if [ -n "${DISPLAY:-}" ]; then
  echo "demo: starting Trakvue (close its window to end the demo)"
  "$BIN/Trakvue"
else
  n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp > "$DEMO/xvfb.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  echo "demo: no display; running Trakvue under Xvfb :$n and taking screenshots"
  DISPLAY=":$n" "$BIN/Trakvue" --screenshots "$DEMO/screenshots"
  echo "demo: screenshots of the main window in $DEMO/screenshots:"
  ls -l "$DEMO/screenshots"
fi
