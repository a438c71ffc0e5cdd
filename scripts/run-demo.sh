#!/usr/bin/env bash
# Installs what is missing, builds, starts the platform simulator with its
# demo data and the client pointed at it. Without a display the client runs
# under Xvfb. Demo account: demo / demo123.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)" --target poolbridge platform-sim
port="${POOLBRIDGE_DEMO_PORT:-18080}"
build/tools/platform-sim/platform-sim --port "$port" &
sim=$!
trap 'kill "$sim" 2>/dev/null || true' EXIT
sleep 0.5
client=(build/src/poolbridge --server "http://127.0.0.1:$port/")
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    "${client[@]}"
else
    echo "No display: running the client under Xvfb (screen :99 is not shown anywhere)."
    QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24" "${client[@]}"
fi
