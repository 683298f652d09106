#!/usr/bin/env bash
# Sets up what is missing, builds the executable, and starts the wizard
# under Wine in the project's own prefix (.wine, or WINEPREFIX), seeded as a
# sample workstation. Without a display it starts Xvfb, shows the wizard in
# a Wine virtual desktop, walks it along both paths to the status page,
# saves a screenshot of every page in build/screenshots and prints their
# paths.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)

"$ROOT/scripts/setup.sh"
# shellcheck source=wine-env.sh
source "$ROOT/scripts/wine-env.sh"
export WINEPREFIX=${WINEPREFIX:-$ROOT/$(prefix_name .wine)}

EXE="$ROOT/build/$WINDOWS_BUILD/program/KonfigNovera.exe"
DRIVER="$ROOT/build/$WINDOWS_BUILD/tests/e2e/wizard_driver.exe"
echo "The wizard runs from build/$WINDOWS_BUILD, since $WINDOWS_BUILD_REASON."
if [ -n "${DISPLAY:-}" ]; then
  "$ROOT/scripts/build.sh" KonfigNovera idapi32
  ensure_wine_prefix
  "$ROOT/scripts/seed-workstation.sh" "$ROOT/build/$WINDOWS_BUILD/tests/idapi32.dll"
  exec wine "$EXE"
fi

"$ROOT/scripts/build.sh" KonfigNovera wizard_driver idapi32
ensure_wine_prefix
"$ROOT/scripts/seed-workstation.sh" "$ROOT/build/$WINDOWS_BUILD/tests/idapi32.dll"

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
# desktop draws them itself. The driver must look on that desktop. The
# wizard is walked along both paths to the status page, one picture a page.
DESKTOP=KonfigNovera
SHOTS="$ROOT/build/screenshots"
rm -rf "$SHOTS"
mkdir -p "$SHOTS"
on_desktop() { wine "$DRIVER" desktop "$DESKTOP" "$@"; }
shot() {
  import -window root "$SHOTS/$1.png"
  echo "Screenshot: $SHOTS/$1.png"
}
start() {
  wine explorer "/desktop=$DESKTOP,1024x768" "$EXE" &
  on_desktop wait
}

start
on_desktop radio RadioGroupSerwer 0
shot 1-sqlserver-page0
on_desktop click ButtonDalej expect-page 1
shot 2-sqlserver-page1
on_desktop click ButtonDalej expect-page 3 type ComboBoxServer 'SERWER\SQLEXPRESS'
shot 3-sqlserver-page3
on_desktop click ButtonDalej expect-page 5 type ComboBoxBaza LUMIRA
shot 4-sqlserver-page5
on_desktop click ButtonWykonaj expect MemoStatus visible 1
shot 5-sqlserver-status
on_desktop click Button1
wineserver -w

# The test copy's aliases, since the first walk gave the main ones to SQL Server.
start
on_desktop radio RadioGroupSerwer 1 click CheckBoxKopia click ButtonDalej expect-page 2
shot 6-oracle-page2
on_desktop click ButtonDalej expect-page 4 type DBEdit2 serwer.firma.pl
shot 7-oracle-page4
on_desktop click ButtonDalej expect-page 6
shot 8-oracle-page6
on_desktop click ButtonWykonaj expect MemoStatus visible 1
shot 9-oracle-status
on_desktop click Button1
