#!/bin/bash
# Builds everything and runs the whole test suite under Wine + Xvfb.
set -e
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset mingw-i686
cmake --build build -j"$(nproc)"
cd build
ctest --output-on-failure --timeout 600
