#!/usr/bin/env bash
# Builds and runs every test: the normal build, the live cockpit's page in
# Chromium, the 32-bit Windows module and host under Wine, the same tests built with clang, the same tests
# in the Release build packagers and benchmarks use, the same tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, and the 32-bit layout check
# of the shared records. Every build here treats warnings as errors.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
export ARD_WERROR=ON

echo "== 32-bit record layout"
for header in model/records.h module/exports.h; do
  echo "#include \"$header\"" | g++ -std=c++20 -m32 -Wall -Wextra -Werror -I. -x c++ -fsyntax-only -
done

echo "== build"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
echo "== tests"
(cd build && ctest --output-on-failure -j"$jobs")

echo "== the live cockpit in Chromium (tests/browser; npm ci there first)"
(cd tests/browser && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npx --no-install playwright test)

echo "== Windows module and host (mingw-w64), tests under Wine"
JOBS=$jobs bash tools/build_windows.sh build build-win
(cd build-win && ctest --output-on-failure -j"$jobs")

echo "== build with clang"
CC=clang CXX=clang++ cmake -S . -B build-clang -DCMAKE_BUILD_TYPE=RelWithDebInfo -DARD_BUILD_BENCH=OFF >/dev/null
cmake --build build-clang -j"$jobs"
echo "== tests with clang"
(cd build-clang && ctest --output-on-failure -j"$jobs")

echo "== Release build (-O3: the optimiser warns of what other builds do not see)"
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DARD_BUILD_BENCH=OFF >/dev/null
cmake --build build-release -j"$jobs"
echo "== tests in the Release build"
(cd build-release && ctest --output-on-failure -j"$jobs")

echo "== build with sanitizers"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DARD_SANITIZE=ON -DARD_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
echo "== tests with sanitizers"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions="$PWD/../tools/lsan.supp" \
  UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j"$jobs")
