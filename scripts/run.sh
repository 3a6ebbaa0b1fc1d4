#!/usr/bin/env bash
# Builds everything and starts talvex-host over the demo database.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No screen here: talvex-host needs a display to show its window."
    echo "Take a screenshot instead:  build/bin/talvex-host --screenshot talvex.png"
    exit 0
fi
exec build/bin/talvex-host "$@"
