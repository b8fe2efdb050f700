#!/usr/bin/env bash
# Builds everything (installing what is missing) and runs every test: once as
# built for use, then once more under AddressSanitizer and
# UndefinedBehaviorSanitizer, the end-to-end test in its X server included.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install_dependencies.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure -j"$(nproc)"

# The benchmark measures the program as built for use, so it stays out of
# the instrumented tree.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBEUGUNGSBILDER_SANITIZE=ON -DBEUGUNGSBILDER_BENCH=OFF
cmake --build build-asan -j"$(nproc)"
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --test-dir build-asan --output-on-failure -j"$(nproc)"
