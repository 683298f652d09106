#!/usr/bin/env bash
# Builds the native logic and tests (build/native) and the 32-bit Windows
# executable with its Wine-run tests (build/win32). On a machine that runs
# no 32-bit program it also builds the same sources for x86_64 (build/win64),
# which is what Wine runs there. Given target names (KonfigNovera,
# wizard_driver ...), builds only those, in the build that Wine runs, and
# the 32-bit executable.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
JOBS=$(nproc)
# shellcheck source=wine-env.sh
source "$ROOT/scripts/wine-env.sh"

configure_windows() {  # BUILD TOOLCHAIN
  cmake -S "$ROOT" -B "$ROOT/build/$1" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/$2.cmake" >/dev/null
}

configure_windows win32 mingw-i686
[ "$WINDOWS_BUILD" = win64 ] && configure_windows win64 mingw-x86_64

if [ $# -gt 0 ]; then
  cmake --build "$ROOT/build/$WINDOWS_BUILD" -j "$JOBS" --target "$@"
  [ "$WINDOWS_BUILD" = win32 ] || cmake --build "$ROOT/build/win32" -j "$JOBS" --target KonfigNovera
  exit
fi

cmake -S "$ROOT" -B "$ROOT/build/native" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$ROOT/build/native" -j "$JOBS"

cmake --build "$ROOT/build/win32" -j "$JOBS"
[ "$WINDOWS_BUILD" = win32 ] || cmake --build "$ROOT/build/win64" -j "$JOBS"
