#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (the Wine tests under
# Xvfb with a throw-away Wine prefix).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"
scripts/wine-session.sh "$PWD/build" \
    env QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j 2 --timeout 300
