#!/usr/bin/env bash
# Installs what is missing, builds the native and the Windows tree, and runs every test: natively
# under AddressSanitizer and UndefinedBehaviorSanitizer, and the Windows programs under Wine.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
jobs="$(nproc)"
start=$(date +%s)

scripts/bootstrap.sh

echo "== layering"
layering=0
scripts/check_layers.py || layering=1

echo "== native build"
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPH_SANITIZE=ON >/dev/null
cmake --build build/native -j "$jobs"

echo "== Windows build"
cmake -S . -B build/win -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build build/win -j "$jobs"

status=$layering
echo "== native tests"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0" UBSAN_OPTIONS="print_stacktrace=1"
ctest --test-dir build/native -j "$jobs" --output-on-failure --timeout 600 || status=1

echo "== Windows tests under Wine"
source scripts/wine-env.sh
ph_wine_prefix
ph_wine_server_start
trap ph_wine_server_stop EXIT
ctest --test-dir build/win --output-on-failure --timeout 900 || status=1
ph_wine_server_stop

echo "== test.sh took $(( $(date +%s) - start )) s"
exit $status
