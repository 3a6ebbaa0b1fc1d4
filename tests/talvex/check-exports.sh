#!/bin/sh
# The plug-in exports CreateWindow and CloseWindow and nothing else of its own.
set -eu
# __bss_start, _edata and _end mark the library's sections; the linker adds them.
exported=$(nm -D --defined-only "$1" | awk '{print $3}' |
    grep -v -x -E '__bss_start|_edata|_end|_init|_fini' | sort | tr '\n' ' ')
if [ "$exported" != "CloseWindow CreateWindow " ]; then
    echo "unexpected exports: $exported"
    exit 1
fi
echo "exports: $exported"
