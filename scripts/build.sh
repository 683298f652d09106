#!/usr/bin/env bash
# Builds the native logic and tests (build/native) and the 32-bit Windows
# executable with its Wine-run tests (build/win32). Given target names
# (KonfigNovera, wizard_driver ...), builds only those of the Windows build.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
JOBS=$(nproc)

configure_win32() {
  cmake -S "$ROOT" -B "$ROOT/build/win32" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" >/dev/null
}

if [ $# -gt 0 ]; then
  configure_win32
  cmake --build "$ROOT/build/win32" -j "$JOBS" --target "$@"
  exit
fi

cmake -S "$ROOT" -B "$ROOT/build/native" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$ROOT/build/native" -j "$JOBS"

configure_win32
cmake --build "$ROOT/build/win32" -j "$JOBS"
