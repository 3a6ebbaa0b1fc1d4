#!/usr/bin/env bash
# Configures and builds into ./build (Ninja, ccache when present).
#
#   scripts/build.sh run    the register alone: talvex-host and its libraries
#   scripts/build.sh test   everything, the tests and benchmarks included
set -euo pipefail
cd "$(dirname "$0")/.."
kind="${1:-test}"
scripts/ensure-deps.sh "$kind"
if [ "$kind" = run ]; then
    # A build folder configured for the tests stays so; a new one leaves them out,
    # as their tools may be missing.
    [ -f build/CMakeCache.txt ] || cmake -S . -B build -G Ninja -DBUILD_TESTING=OFF >/dev/null
    cmake --build build --target talvex-host
else
    cmake -S . -B build -G Ninja -DBUILD_TESTING=ON >/dev/null
    cmake --build build
fi
