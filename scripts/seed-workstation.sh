#!/usr/bin/env bash
# Seeds the Wine prefix as a sample workstation, once: the BDE key naming
# the engine's configuration file inside the prefix. Keys go to the 32-bit
# view, where a 32-bit BDE keeps them on 64-bit Windows.
set -euo pipefail
: "${WINEPREFIX:?}"
MARK="$WINEPREFIX/.konfignovera-seeded"
[ -f "$MARK" ] && exit 0

wine reg add 'HKLM\SOFTWARE\Borland\Database Engine' /v CONFIGFILE01 \
     /d 'C:\Program Files\Common Files\Borland Shared\BDE\KonfigNovera.cfg' /f /reg:32 >/dev/null
wineserver -w
touch "$MARK"
