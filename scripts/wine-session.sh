#!/usr/bin/env bash
# Runs a command with a display and a throw-away Wine prefix for the
# modem-pool tests: Xvfb on a free display, WINEPREFIX in the build folder,
# both ended afterwards. Without Wine the command runs as it is (the Wine
# tests then skip themselves).
set -uo pipefail
build_dir="$1"
shift
wine64=/usr/lib/wine/wine64
if [ ! -x "$wine64" ] || ! command -v Xvfb >/dev/null; then
    exec "$@"
fi
export WINEPREFIX="$build_dir/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY="$display"
cleanup() {
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
timeout 300 "$wine64" wineboot -i >/dev/null 2>&1 || echo "wine-session: wineboot did not finish"
"$@"
