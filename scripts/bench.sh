#!/usr/bin/env bash
# Measures what makes the wizard feel instant and prints one table per
# measure: the native benchmarks (Google Benchmark, Release build in
# build/bench), the start-up under Wine against an empty window built the
# same way (RUNS starts each, default 10), and the executable's size and
# imported DLLs.
# Usage: scripts/bench.sh [RUNS]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
RUNS=${1:-10}
export LC_ALL=C.UTF-8

"$ROOT/scripts/setup.sh"
echo "# $(date -u '+%Y-%m-%d %H:%M UTC') on $(nproc) x $(sed -n 's/^model name *: //p' /proc/cpuinfo | head -1)"

cmake -S "$ROOT" -B "$ROOT/build/bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKONFIGNOVERA_BENCH=ON >/dev/null
cmake --build "$ROOT/build/bench" -j "$(nproc)" --target benchmarks >/dev/null
echo
echo "## Native benchmarks"
"$ROOT/build/bench/tests/bench/benchmarks"

cmake -S "$ROOT" -B "$ROOT/build/win32" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -DKONFIGNOVERA_BENCH=ON >/dev/null
cmake --build "$ROOT/build/win32" -j "$(nproc)" --target KonfigNovera bare_window startup_timer >/dev/null

# shellcheck source=wine-env.sh
source "$ROOT/scripts/wine-env.sh"
export WINEPREFIX="$ROOT/build/wine-bench"
ensure_wine_prefix
ensure_display
trap 'wineserver -k 2>/dev/null || true; stop_display' EXIT
EXE="$ROOT/build/win32/app/KonfigNovera.exe"
BARE="$ROOT/build/win32/tests/bench/bare_window.exe"
echo
echo "## Start-up under Wine: process start until the window is shown and idle ($RUNS runs each)"
wine "$ROOT/build/win32/tests/bench/startup_timer.exe" "$RUNS" "$(winepath -w "$EXE")" "$(winepath -w "$BARE")" \
    | tr -d '\r'

echo
echo "## Executable"
awk -v bytes="$(stat -c %s "$EXE")" 'BEGIN { printf "KonfigNovera.exe: %d bytes (%.2f MB)\n", bytes, bytes / 1048576 }'
echo "imports: $(i686-w64-mingw32-objdump -p "$EXE" | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' ')"
