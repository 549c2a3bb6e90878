#!/usr/bin/env bash
# The libraries the Windows build needs, for the MinGW-w64 compiler, in one
# prefix (make windows; the "windows" preset looks there):
#   - GoogleTest and GoogleMock, built from Debian's googletest source
#     package (/usr/src/googletest) with the project's toolchain file;
#   - nlohmann/json, which is header-only: Debian's headers and CMake
#     package, reached through links, so that no other host header is seen.
# Built once; delete the prefix to build it again.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
prefix=${1:-$root/build/windows-deps}
case "$prefix" in /*) ;; *) prefix="$root/$prefix" ;; esac
toolchain="$root/cmake/mingw-w64-x86_64.toolchain.cmake"

if [ ! -f "$prefix/lib/cmake/GTest/GTestConfig.cmake" ]; then
    work="$prefix.build/googletest"
    rm -rf "$work"
    cmake -S /usr/src/googletest -B "$work" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix" \
        -Dgtest_disable_pthreads=OFF
    cmake --build "$work"
    cmake --install "$work"
    rm -rf "$prefix.build"
fi

mkdir -p "$prefix/include" "$prefix/share/cmake"
ln -sfn /usr/include/nlohmann "$prefix/include/nlohmann"
ln -sfn /usr/share/cmake/nlohmann_json "$prefix/share/cmake/nlohmann_json"
