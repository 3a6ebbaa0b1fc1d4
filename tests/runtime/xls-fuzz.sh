#!/usr/bin/env bash
# Builds the .xls reader with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer in a folder of its own and fuzzes it for COUNT runs.
#
#   tests/runtime/xls-fuzz.sh [COUNT [RANDOM_SEED]]      (default 5000 20261205)
#
# Seeds: a grid export and a formula workbook of ours, a file xlwt writes and the
# same workbook as LibreOffice writes it. The corpus starts from them afresh each
# time. libFuzzer stops at the first crash, hang or sanitizer report, keeps the
# input under build-fuzz/findings and makes the script fail.
set -euo pipefail
cd "$(dirname "$0")/../.."
count="${1:-5000}"
random_seed="${2:-20261205}"
scripts/ensure-deps.sh
# Only fuzzing needs clang, so the packages are not among the project's own.
missing=()
for p in clang-14 libclang-rt-14-dev; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y \
        --no-install-recommends "${missing[@]}"
fi

# Every target is instrumented; xls_fuzz alone adds -fsanitize=fuzzer (CMakeLists.txt).
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALVEX_XLS_FUZZ=ON \
    -DCMAKE_CXX_COMPILER=clang++-14 "-DCMAKE_CXX_FLAGS=$flags" \
    "-DCMAKE_EXE_LINKER_FLAGS=$flags" "-DCMAKE_SHARED_LINKER_FLAGS=$flags" >/dev/null
ninja -C build-fuzz -j2 xls_fuzz xls_fuzz_seeds

seeds=build-fuzz/seeds
corpus=build-fuzz/corpus
findings=build-fuzz/findings
rm -rf "$seeds" "$corpus" "$findings"
mkdir -p "$seeds" "$corpus" "$findings"
QT_QPA_PLATFORM=offscreen build-fuzz/bin/xls_fuzz_seeds "$seeds"
/usr/bin/python3 tests/runtime/xlwt_sample.py "$seeds/xlwt.xls"
profile=$(mktemp -d)
soffice --headless "-env:UserInstallation=file://$profile" --convert-to "xls:MS Excel 97" \
    --outdir "$seeds/lo" "$seeds/register.xls" >/dev/null
rm -rf "$profile"
cp "$seeds"/*.xls "$corpus"/
cp "$seeds/lo/register.xls" "$corpus/lo-register.xls"

export ASAN_OPTIONS="max_allocation_size_mb=512:allocator_may_return_null=0"
export UBSAN_OPTIONS="print_stacktrace=1"
build-fuzz/bin/xls_fuzz -runs="$count" -seed="$random_seed" -timeout=5 -rss_limit_mb=2048 \
    -artifact_prefix="$findings/" "$corpus"
