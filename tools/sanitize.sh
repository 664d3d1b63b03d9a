#!/usr/bin/env bash
# The core's checking build: core/ and platform/ with their tests under
# AddressSanitizer and UndefinedBehaviorSanitizer (clang), then each libFuzzer
# target of tests/fuzz for a while from its committed corpus.
#   tools/sanitize.sh [seconds per fuzz target, default 20]
# A failing input is left in build-sanitize/fuzz-artifacts/; once its fault is
# mended, copy it into tests/fuzz/corpus/<target>/ so that it stays checked.
set -euo pipefail

seconds=${1:-20}
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$top/build-sanitize"

packages=(cmake make clang libclang-rt-14-dev qt6-base-dev pkgconf libpulse-dev libsndfile1-dev)
source "$top/tools/install-missing.sh"
install_missing "${packages[@]}"

jobs=$(nproc 2>/dev/null || echo 2)
# Qt is not instrumented: its own allocations at exit are not this program's leaks.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

CC=clang CXX=clang++ cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Debug \
    -DVEMI_ONLY_CORE=ON -DVEMI_SANITIZE=ON -DVEMI_FUZZ=ON
cmake --build "$build" -j "$jobs"
ctest --test-dir "$build" --output-on-failure -j "$jobs"

artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"
failed=()
for corpus in "$top"/tests/fuzz/corpus/*/; do
    name=$(basename "$corpus")
    work="$build/fuzz-corpus/$name"
    mkdir -p "$work"
    echo "== $name: ${seconds}s"
    if ! "$build/tests/fuzz/$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=0 -artifact_prefix="$artifacts/$name-" "$work" "$corpus" \
        >"$build/$name.log" 2>&1; then
        tail -n 40 "$build/$name.log"
        failed+=("$name")
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "Fuzz targets that failed: ${failed[*]} (inputs in $artifacts)" >&2
    exit 1
fi
