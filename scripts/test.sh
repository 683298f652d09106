#!/usr/bin/env bash
# Sets up what is missing, builds both targets, and runs every test: the
# native unit and integration tests, the unit tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer, each fuzz target briefly
# (FUZZ_SECONDS, default 30), then the Windows tests and the end-to-end
# tests under Wine and Xvfb.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)

"$ROOT/scripts/setup.sh"
"$ROOT/scripts/build.sh"

# shellcheck source=wine-env.sh
source "$ROOT/scripts/wine-env.sh"
export WINEPREFIX=${WINEPREFIX:-$ROOT/build/$(prefix_name wine-test)}
ensure_wine_prefix
ensure_display
trap stop_display EXIT

ctest --test-dir "$ROOT/build/native" --output-on-failure

"$ROOT/scripts/build-sanitize.sh"
"$ROOT/build/sanitize/tests/unit_tests" --gtest_brief=1
"$ROOT/scripts/fuzz.sh" "${FUZZ_SECONDS:-30}"

echo "Windows tests: on build/$WINDOWS_BUILD, since $WINDOWS_BUILD_REASON."
ctest --test-dir "$ROOT/build/$WINDOWS_BUILD" --output-on-failure
