#!/usr/bin/env bash
# Sets up what is missing, builds, and starts the wizard under Wine in the
# project's own prefix (.wine, or WINEPREFIX), seeded as a sample
# workstation. Without a display it starts Xvfb, saves a screenshot, prints
# its path and closes the wizard.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)

"$ROOT/scripts/setup.sh"
"$ROOT/scripts/build.sh"

# shellcheck source=wine-env.sh
source "$ROOT/scripts/wine-env.sh"
export WINEPREFIX=${WINEPREFIX:-$ROOT/.wine}
ensure_wine_prefix
"$ROOT/scripts/seed-workstation.sh"

EXE="$ROOT/build/win32/app/KonfigNovera.exe"
DRIVER="$ROOT/build/win32/tests/e2e/wizard_driver.exe"
if [ -n "${DISPLAY:-}" ]; then
  exec wine "$EXE"
fi

ensure_display
trap stop_display EXIT
wine "$EXE" &
WIZARD=$!
wine "$DRIVER" wait
SHOT="$ROOT/build/konfignovera.png"
import -window root "$SHOT"
echo "Screenshot: $SHOT"
wine "$DRIVER" close
wait "$WIZARD" || true
