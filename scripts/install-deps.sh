#!/usr/bin/env bash
# Installs every Debian 12 package the build, the tests and the demo need.
set -euo pipefail
packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev libgl-dev
    libcurl4-openssl-dev libssl-dev nlohmann-json3-dev libpcre2-dev libcpp-httplib-dev
    libgtest-dev libgmock-dev
    fonts-noto-cjk xvfb xauth
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=""
    [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
    $sudo_cmd apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y --no-install-recommends "${missing[@]}"
fi
