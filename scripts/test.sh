#!/usr/bin/env bash
# Installs what is missing, builds Kestro and runs the whole test suite.
#   scripts/test.sh              Release-with-debug-info build in build/, warnings as errors
#   scripts/test.sh --sanitize   the same suite built with ASan and UBSan in build-asan/
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

build=build
flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRO_WERROR=ON)
if [ "${1:-}" = "--sanitize" ]; then
  build=build-asan
  flags=(-DCMAKE_BUILD_TYPE=Debug -DKESTRO_WERROR=ON -DKESTRO_SANITIZE=ON -DCMAKE_CXX_FLAGS_DEBUG=-O1)
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi

cmake -S . -B "$build" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure -j2
