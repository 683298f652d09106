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
echo "# $(date -u '+%Y-%m-%d %H:%M UTC') on $(nproc) x $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)"

cmake -S "$ROOT" -B "$ROOT/build/bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKONFIGNOVERA_BENCH=ON >/dev/null
cmake --build "$ROOT/build/bench" -j "$(nproc)" --target benchmarks tnsnames_memory >/dev/null
echo
echo "## Native benchmarks"
CSV="$ROOT/build/bench/benchmarks.csv"
"$ROOT/build/bench/tests/bench/benchmarks" --benchmark_out="$CSV" --benchmark_out_format=csv
echo
echo "## tnsnames.ora: the full read against the floor (read and split only), and growth"
# Google Benchmark's CSV: name,iterations,real_time,cpu_time,time_unit,...
awk -F, '/^"BM_/ { gsub(/"/, "", $1); cpu[$1] = $4 }
  END {
    printf "%-8s %8s %14s %14s %8s\n", "layout", "entries", "read ms (cpu)", "floor ms (cpu)", "ratio"
    split("writer common", layouts, " "); split("1000 10000 100000", sizes, " ")
    for (l = 1; l <= 2; ++l) for (s = 1; s <= 3; ++s) {
      read = cpu["BM_TnsnamesRead/" layouts[l] "/" sizes[s]]; floor = cpu["BM_TnsnamesSplitLines/" layouts[l] "/" sizes[s]]
      if (floor > 0) printf "%-8s %8s %14.1f %14.1f %8.2f\n", layouts[l], sizes[s], read, floor, read / floor
    }
    printf "\n%-36s %10s\n", "100 000 / 10 000 (linear: about 10)", "ratio"
    split("BM_TnsnamesRead BM_TnsnamesReplaceMiddle", families, " ")
    for (f = 1; f <= 2; ++f) for (l = 1; l <= 2; ++l) {
      big = cpu[families[f] "/" layouts[l] "/100000"]; small = cpu[families[f] "/" layouts[l] "/10000"]
      if (small > 0) printf "%-36s %10.1f\n", families[f] "/" layouts[l], big / small
    }
    split("BM_EngineLoad BM_EngineSaveConfiguration", engine, " ")
    printf "\n%-36s %10s\n", "engine: 10 000 / 1 000 aliases", "ratio"
    for (e = 1; e <= 2; ++e) if (cpu[engine[e] "/1000"] > 0)
      printf "%-36s %10.1f\n", engine[e], cpu[engine[e] "/10000"] / cpu[engine[e] "/1000"]
  }' "$CSV"
echo
echo "## Connection checks: wall time of one full set (SQL Server instance, logins, Oracle listener)"
# The set must end within its budget of 5 s even with every server silent.
awk -F, '/^"BM_ChecksAll/ {
    name = $1; gsub(/"/, "", name); sub(/^BM_ChecksAll/, "", name); sub(/\/.*/, "", name)
    unit = $5; gsub(/"/, "", unit)
    printf "%-10s %10.1f %s\n", tolower(name), $3, unit
  }' "$CSV"
echo
echo "## Peak memory of reading 100 000 entries"
"$ROOT/build/bench/tests/bench/tnsnames_memory" writer
"$ROOT/build/bench/tests/bench/tnsnames_memory" common

# shellcheck source=wine-env.sh
source "$ROOT/scripts/wine-env.sh"
# The product is always built; the start-up is timed on the build Wine runs.
cmake -S "$ROOT" -B "$ROOT/build/win32" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -DKONFIGNOVERA_BENCH=ON >/dev/null
cmake --build "$ROOT/build/win32" -j "$(nproc)" --target KonfigNovera >/dev/null
TOOLCHAIN=mingw-i686
[ "$WINDOWS_BUILD" = win64 ] && TOOLCHAIN=mingw-x86_64
RUNNING="$ROOT/build/$WINDOWS_BUILD"
cmake -S "$ROOT" -B "$RUNNING" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/$TOOLCHAIN.cmake" -DKONFIGNOVERA_BENCH=ON >/dev/null
cmake --build "$RUNNING" -j "$(nproc)" --target KonfigNovera bare_window startup_timer >/dev/null

export WINEPREFIX="$ROOT/build/$(prefix_name wine-bench)"
ensure_wine_prefix
ensure_display
trap 'wineserver -k 2>/dev/null || true; stop_display' EXIT
echo
echo "## Start-up under Wine: process start until the window is shown and idle ($RUNS runs each)"
echo "On build/$WINDOWS_BUILD, since $WINDOWS_BUILD_REASON."
wine "$RUNNING/tests/bench/startup_timer.exe" "$RUNS" "$(winepath -w "$RUNNING/program/KonfigNovera.exe")" \
    "$(winepath -w "$RUNNING/tests/bench/bare_window.exe")" | tr -d '\r'

EXE="$ROOT/build/win32/program/KonfigNovera.exe"
echo
echo "## Executable (the 32-bit product)"
awk -v bytes="$(stat -c %s "$EXE")" 'BEGIN { printf "KonfigNovera.exe: %d bytes (%.2f MB)\n", bytes, bytes / 1048576 }'
echo "imports: $(i686-w64-mingw32-objdump -p "$EXE" | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' ')"
