#!/usr/bin/env bash
# The native logic, its unit tests and the fuzz targets built with clang,
# AddressSanitizer and UndefinedBehaviorSanitizer (build/sanitize).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$ROOT" -B "$ROOT/build/sanitize" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKONFIGNOVERA_SANITIZE=ON >/dev/null
cmake --build "$ROOT/build/sanitize" -j "$(nproc)"
