#!/bin/bash
# Builds everything and runs the whole test suite under Wine + Xvfb.
# Where 32-bit code runs only emulated, the test programs are built a second
# time as 64-bit programs (build-x64/) that run natively and drive the
# 32-bit shipped programs of build/.
set -e
cd "$(dirname "$0")/.."
root="$(pwd -P)"
. tools/wine-user.sh
wine_user_check "$root"
tools/install-deps.sh
. tools/i386-host.sh
cmake --preset mingw-i686
if i386_emulated; then
    cmake --build build -j"$(nproc)" --target tarvo_for_tests64
    cmake --preset tests-x86_64
    cmake --build build-x64 -j"$(nproc)"
    cd build-x64
    wine_user_run "$root" ctest --output-on-failure --timeout 2400 -j"$(nproc)"
else
    cmake --build build -j"$(nproc)"
    cd build
    wine_user_run "$root" ctest --output-on-failure --timeout 600
fi
