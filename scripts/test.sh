#!/usr/bin/env bash
# Sets up what is missing, builds both targets, and runs every test through
# ctest: the native unit tests, then the Windows tests and the end-to-end
# tests under Wine and Xvfb.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)

"$ROOT/scripts/setup.sh"
"$ROOT/scripts/build.sh"

# shellcheck source=wine-env.sh
source "$ROOT/scripts/wine-env.sh"
export WINEPREFIX=${WINEPREFIX:-$ROOT/build/wine-test}
ensure_wine_prefix
ensure_display
trap stop_display EXIT

ctest --test-dir "$ROOT/build/native" --output-on-failure
ctest --test-dir "$ROOT/build/win32" --output-on-failure
