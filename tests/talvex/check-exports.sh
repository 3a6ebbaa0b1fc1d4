#!/bin/sh
# The plug-in exports CreateWindow and CloseWindow and nothing else of its own.
set -eu
exported=$(nm -D --defined-only "$1" | awk '{print $3}' | sort | tr '\n' ' ')
if [ "$exported" != "CloseWindow CreateWindow " ]; then
    echo "unexpected exports: $exported"
    exit 1
fi
echo "exports: $exported"
