#!/usr/bin/env bash
# Installs what is missing, builds, and either starts the trainer, runs every
# test or makes the Debian package.
#   tools/build.sh run       release build, then start the trainer
#   tools/build.sh test      build, then run every test through CTest
#   tools/build.sh package   release build, then build-package/vemitrainer_*.deb
set -euo pipefail

mode=${1:-}
case "$mode" in
run | test | package) ;;
*)
    echo "usage: $0 run|test|package" >&2
    exit 2
    ;;
esac

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# The bundled texts have Japanese file names, which cmake, cpack and the tests
# can only handle in a UTF-8 locale; C.UTF-8 is always there on Debian.
if [ "$(locale charmap 2>/dev/null)" != UTF-8 ]; then
    export LC_ALL=C.UTF-8
    unset LANGUAGE
fi

packages=(
    cmake g++ make
    qt6-base-dev qt6-translations-l10n pkgconf libpulse-dev libsndfile1-dev
    fonts-ipafont-gothic fonts-ipafont-mincho
)
test_packages=(xvfb xauth xdotool pulseaudio pulseaudio-utils dbus-daemon dbus-bin at-spi2-core fonts-urw-base35
    appstream desktop-file-utils dpkg-dev file faketime groff-base poppler-utils)
package_packages=(dpkg-dev file)
[ "$mode" = test ] && packages+=("${test_packages[@]}")
[ "$mode" = package ] && packages+=("${package_packages[@]}")

source "$top/tools/install-missing.sh"
install_missing "${packages[@]}"

jobs=$(nproc 2>/dev/null || echo 2)

if [ "$mode" = run ]; then
    cmake -S "$top" -B "$top/build-release" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
    cmake --build "$top/build-release" -j "$jobs"
    exec "$top/build-release/bin/vemitrainer"
fi

if [ "$mode" = package ]; then
    cmake -S "$top" -B "$top/build-package" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
    cmake --build "$top/build-package" -j "$jobs"
    cpack -G DEB --config "$top/build-package/CPackConfig.cmake" -B "$top/build-package"
    exit
fi

cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=Debug
cmake --build "$top/build" -j "$jobs"
ctest --test-dir "$top/build" --output-on-failure
