#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UBSan, runs every test through ctest.
set -euo pipefail
cd "$(dirname "$0")"
./deps.sh
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRO_SANITIZE=ON -DKESTRO_TESTS=ON -DKESTRO_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build-test
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd build-test
ctest --output-on-failure -j2 --timeout 300
