#!/usr/bin/env bash
# Installs every Debian 12 package the build, the tests and the demo need.
set -euo pipefail
packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev libgl-dev
    libcurl4-openssl-dev libssl-dev nlohmann-json3-dev libpcre2-dev libcpp-httplib-dev
    libgtest-dev libgmock-dev
    fonts-noto-cjk xvfb xauth
    # The Win32 side: the Wine helper and the modem-pool doubles, and Wine to run them.
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine wine64 locales
)
sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

missing=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
if [ ${#missing[@]} -gt 0 ]; then
    $sudo_cmd apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y --no-install-recommends "${missing[@]}"
fi

# 32-bit Wine, for the 32-bit double; a machine without i386 packages still
# runs everything else.
if ! installed wine32:i386; then
    if $sudo_cmd dpkg --add-architecture i386 && $sudo_cmd apt-get update >/dev/null; then
        DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y --no-install-recommends wine32:i386 ||
            echo "install-deps: wine32:i386 not installed; the 32-bit double test will be skipped"
    fi
fi

# The modem-pool programs' texts are GBK and their names Chinese: Wine needs
# a Chinese locale for both.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
    $sudo_cmd sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $sudo_cmd tee -a /etc/locale.gen >/dev/null
    $sudo_cmd locale-gen >/dev/null
fi

# Some kernels (certain virtual machines) cannot execute 32-bit code at all.
# There qemu-user runs Wine's 32-bit loader; the tests tell the helper how the
# emulator shifts the program's memory.
if installed wine32:i386 && ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    enable_i386_emulation() {
        installed qemu-user-static ||
            DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y --no-install-recommends qemu-user-static
        local binfmt=/proc/sys/fs/binfmt_misc
        [ -e "$binfmt/register" ] || $sudo_cmd mount -t binfmt_misc binfmt_misc "$binfmt"
        [ -e "$binfmt/qemu-i386" ] ||
            printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:OCF' |
            $sudo_cmd tee "$binfmt/register" >/dev/null
        /usr/lib/wine/wine --version >/dev/null 2>&1
    }
    enable_i386_emulation ||
        echo "install-deps: this kernel runs no 32-bit programs; the 32-bit double test will be skipped"
fi
