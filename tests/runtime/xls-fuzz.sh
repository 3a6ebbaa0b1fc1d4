#!/usr/bin/env bash
# Builds the .xls reader with AddressSanitizer and UndefinedBehaviorSanitizer in
# a folder of its own and feeds it mutated and truncated files.
#
#   tests/runtime/xls-fuzz.sh [COUNT [RANDOM_SEED]]      (default 5000 20261205)
#
# Seeds: a grid export and a formula workbook of ours, a file xlwt writes and the
# same workbook as LibreOffice writes it. Findings are kept under build-fuzz/findings.
set -euo pipefail
cd "$(dirname "$0")/../.."
count="${1:-5000}"
random_seed="${2:-20261205}"
scripts/ensure-deps.sh
sanitizers="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALVEX_XLS_FUZZ=ON \
    "-DCMAKE_CXX_FLAGS=$sanitizers" "-DCMAKE_EXE_LINKER_FLAGS=$sanitizers" \
    "-DCMAKE_SHARED_LINKER_FLAGS=$sanitizers" >/dev/null
ninja -C build-fuzz -j2 xls_fuzz xls_fuzz_seeds
seeds=build-fuzz/seeds
findings=build-fuzz/findings
rm -rf "$seeds" "$findings"
mkdir -p "$seeds" "$findings"
QT_QPA_PLATFORM=offscreen build-fuzz/bin/xls_fuzz_seeds "$seeds"
/usr/bin/python3 tests/runtime/xlwt_sample.py "$seeds/xlwt.xls"
profile=$(mktemp -d)
soffice --headless "-env:UserInstallation=file://$profile" --convert-to "xls:MS Excel 97" \
    --outdir "$seeds/lo" "$seeds/register.xls" >/dev/null
rm -rf "$profile"
export ASAN_OPTIONS="detect_leaks=0:max_allocation_size_mb=512:allocator_may_return_null=0:abort_on_error=0:exitcode=23"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:exitcode=24"
build-fuzz/bin/xls_fuzz "$findings" "$count" "$random_seed" "$seeds"/*.xls "$seeds"/lo/*.xls
