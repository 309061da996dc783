#!/usr/bin/env bash
# Builds the 32-bit Windows module and host with Debian's mingw-w64:
#
#   bash tools/build_windows.sh [LINUX_BUILD_DIR [WINDOWS_BUILD_DIR]]
#
# Writes WINDOWS_BUILD_DIR/Ardelvine_Instr.gau (default build-win/),
# gaugehost.exe beside it, and the release for simulator users,
# Ardelvine_Instr-VERSION-win32.zip (the module, its README.txt; package zip). The art is drawn by the generator of a Linux build
# of this project (default build/, configured here when it does not exist
# yet; configure it with -DARD_ART_DIR=DIR to package your own art), so both
# modules carry the same bitmaps and sounds. Set JOBS to limit parallel jobs.
set -euo pipefail
cd "$(dirname "$0")/.."
native=${1:-build}
windows=${2:-build-win}
jobs=${JOBS:-$(nproc)}

if [ -f "$native/CMakeCache.txt" ]; then
  cmake -S . -B "$native" >/dev/null  # keeps its options, picks up new targets
else
  cmake -S . -B "$native" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
# The art and its resource script writer, and what the Wine tests compare with.
cmake --build "$native" -j"$jobs" --target ardelvine_resources ardelvine_resource_script gaugehost state_compare

cmake -S . -B "$windows" -DCMAKE_TOOLCHAIN_FILE=cmake/i686-w64-mingw32.cmake -DCMAKE_BUILD_TYPE=Release \
  -DARD_NATIVE_BUILD="$native" >/dev/null
cmake --build "$windows" -j"$jobs"
echo "Windows module: $windows/Ardelvine_Instr.gau"
echo "Release: $(ls -t "$windows"/Ardelvine_Instr-*-win32.zip | head -n 1)"
