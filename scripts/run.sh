#!/usr/bin/env bash
# Builds everything and starts talvex-host over the demo database. Without a screen
# the host says so and shows how to take a screenshot instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh run
exec build/bin/talvex-host "$@"
