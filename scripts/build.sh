#!/usr/bin/env bash
# Configures and builds into ./build (Ninja, ccache when present).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build
