#!/usr/bin/env bash
# Sets up a Debian 12 machine for Quillow, builds it, and then starts it or runs every test.
#   ./setup.sh run    install what is missing, build, start Quillow
#   ./setup.sh test   install what is missing, build, run every test, then again sanitized
set -euo pipefail
cd "$(dirname "$0")"

packages=(
    cmake g++ make
    qt6-base-dev qt6-multimedia-dev qt6-wayland
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb x11-utils xdotool imagemagick trayer python3 valgrind libxdamage-dev
    mutter dbus python3-dbus python3-gi
    fonts-liberation2 fonts-dejavu-core
    desktop-file-utils appstream
    clang libclang-rt-14-dev
)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {
    cmake -S . -B build -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Release}" >/dev/null
    cmake --build build -j"$(nproc)"
}

case "${1:-}" in
run)
    install_missing
    build
    exec build/app/quillow
    ;;
test)
    install_missing
    build
    (cd build && ctest --output-on-failure -j"$(nproc)")
    # Again under AddressSanitizer and UndefinedBehaviorSanitizer, then the fuzz targets.
    tests/run-sanitized
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
