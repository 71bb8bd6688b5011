#!/usr/bin/env bash
# Sets up a Debian 12 machine for Quillow, builds it, and then starts it or runs every test.
#   ./setup.sh run    install what running needs, build the program and qld, start Quillow
#   ./setup.sh test   install everything, build everything, run every test, then the store's and
#                     the parsers' tests again sanitized, and the fuzz targets
set -euo pipefail
cd "$(dirname "$0")"

# What building and running Quillow needs.
run_packages=(
    cmake g++ make
    qt6-base-dev qt6-base-private-dev libxcb1-dev libxcb-screensaver0-dev libglib2.0-dev
    libwayland-dev
    qt6-multimedia-dev qt6-wayland
    fonts-liberation2 fonts-dejavu-core
    pkg-config libzip-dev libzstd-dev libsqlite3-dev libexpat1-dev
    libicu-dev
)
# What the tests and the benchmarks need besides.
test_packages=(
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb x11-utils xdotool imagemagick trayer openbox wmctrl python3 valgrind libxdamage-dev
    mutter dbus python3-dbus python3-gi
    desktop-file-utils appstream
    clang libclang-rt-14-dev
    qt6ct orca at-spi2-core
)

install_missing() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

configure() {
    cmake -S . -B build -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Release}" "$@" >/dev/null
}

case "${1:-}" in
run)
    install_missing "${run_packages[@]}"
    configure
    # The program with its sound player, and qld; whatever else the folder was set up for waits.
    cmake --build build -j"$(nproc)" --target quillow quillow_sound qld
    exec build/app/quillow
    ;;
test)
    install_missing "${run_packages[@]}" "${test_packages[@]}"
    configure -DBUILD_TESTING=ON -DQUILLOW_BUILD_BENCHMARKS=ON
    cmake --build build -j"$(nproc)"
    (cd build && ctest --output-on-failure -j"$(nproc)")
    # Under AddressSanitizer and UndefinedBehaviorSanitizer, then the fuzz targets.
    tests/run-sanitized
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
