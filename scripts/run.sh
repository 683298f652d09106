#!/usr/bin/env bash
# Sets up what is missing, builds the executable, and starts the wizard
# under Wine in the project's own prefix (.wine, or WINEPREFIX), seeded as a
# sample workstation. Without a display it starts Xvfb, shows the wizard in
# a Wine virtual desktop, saves a screenshot, prints its path and closes
# the wizard.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)

"$ROOT/scripts/setup.sh"
# shellcheck source=wine-env.sh
source "$ROOT/scripts/wine-env.sh"
export WINEPREFIX=${WINEPREFIX:-$ROOT/.wine}

EXE="$ROOT/build/win32/app/KonfigNovera.exe"
DRIVER="$ROOT/build/win32/tests/e2e/wizard_driver.exe"
if [ -n "${DISPLAY:-}" ]; then
  "$ROOT/scripts/build.sh" KonfigNovera
  ensure_wine_prefix
  "$ROOT/scripts/seed-workstation.sh"
  exec wine "$EXE"
fi

"$ROOT/scripts/build.sh" KonfigNovera wizard_driver
ensure_wine_prefix
"$ROOT/scripts/seed-workstation.sh"

# Wine goes before the display: Wine processes that outlive it complain
# of the broken X connection.
finish() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  stop_display
}
ensure_display
trap finish EXIT

# Xvfb has no window manager to draw the frame and caption; Wine's virtual
# desktop draws them itself. The driver must look on that desktop.
DESKTOP=KonfigNovera
wine explorer "/desktop=$DESKTOP,1024x768" "$EXE" &
wine "$DRIVER" desktop "$DESKTOP" wait
SHOT="$ROOT/build/konfignovera.png"
import -window root "$SHOT"
echo "Screenshot: $SHOT"
wine "$DRIVER" desktop "$DESKTOP" close
