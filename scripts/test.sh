#!/usr/bin/env bash
# Builds everything and runs every test headless. The database tests run twice:
# on SQLite, and on a throwaway PostgreSQL cluster that lives for this run only.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh test
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
scripts/with-pg-cluster.sh ctest --test-dir build --output-on-failure -j2
# The Debian package, built and checked as its users will install it.
scripts/package.sh
scripts/check-package.sh
