#!/usr/bin/env bash
# Seeds the Wine prefix as a sample workstation, once: the BDE key naming
# the engine's configuration file inside the prefix, the SQL Server ODBC
# driver, and an Oracle client. $1 is the stand-in engine library built for
# the processor of the executable that is to load it.
# Keys go to the 32-bit view, where a 32-bit BDE and Oracle client keep
# them on 64-bit Windows.
set -euo pipefail
: "${WINEPREFIX:?}"
STANDIN_DLL=${1:?the stand-in idapi32.dll to install}
# The mark names the sample's version, so a prefix seeded by an older one
# gets what was added since.
MARK="$WINEPREFIX/.konfignovera-seeded-3"
[ -f "$MARK" ] && exit 0

# The BDE, installed as the stand-in engine library the build makes: the
# aliases go into its configuration file through it.
BDE_DIR="$WINEPREFIX/drive_c/Program Files/Common Files/Borland Shared/BDE"
mkdir -p "$BDE_DIR"
cp "$STANDIN_DLL" "$BDE_DIR/idapi32.dll"
wine reg add 'HKLM\SOFTWARE\Borland\Database Engine' /v DLLPATH \
     /d 'C:\Program Files\Common Files\Borland Shared\BDE' /f /reg:32 >/dev/null
wine reg add 'HKLM\SOFTWARE\Borland\Database Engine' /v CONFIGFILE01 \
     /d 'C:\Program Files\Common Files\Borland Shared\BDE\IDAPI32.CFG' /f /reg:32 >/dev/null

# The ODBC driver of SQL Server, registered as its installer does, so that
# "Wykonaj" can write the data source.
wine reg add 'HKLM\SOFTWARE\ODBC\ODBCINST.INI\ODBC Drivers' /v 'SQL Native Client' /d Installed /f /reg:32 >/dev/null
wine reg add 'HKLM\SOFTWARE\ODBC\ODBCINST.INI\SQL Native Client' /v Driver \
     /d 'C:\windows\system32\sqlncli.dll' /f /reg:32 >/dev/null

# An Oracle client home with a tnsnames.ora of a few entries in the shapes
# found in the field (one without a host, which the wizard does not offer).
ORACLE_HOME_KEY='HKLM\SOFTWARE\ORACLE\KEY_OraClient11g_home1'
wine reg add "$ORACLE_HOME_KEY" /v ORACLE_HOME /d 'C:\oracle\client' /f /reg:32 >/dev/null
wine reg add "$ORACLE_HOME_KEY" /v ORACLE_HOME_NAME /d 'OraClient11g_home1' /f /reg:32 >/dev/null
wine reg add "$ORACLE_HOME_KEY" /v ORACLE_BUNDLE_NAME /d 'Enterprise' /f /reg:32 >/dev/null
wine reg add "$ORACLE_HOME_KEY" /v NLS_LANG /d 'POLISH_POLAND.EE8MSWIN1250' /f /reg:32 >/dev/null
ADMIN="$WINEPREFIX/drive_c/oracle/client/NETWORK/ADMIN"
mkdir -p "$ADMIN"
printf '%s\r\n' \
  '# Sample workstation' \
  'XE.SERWER =' \
  '  (DESCRIPTION =' \
  '    (ADDRESS_LIST =' \
  '      (ADDRESS = (PROTOCOL = TCP)(HOST = serwer)(PORT = 1521))' \
  '    )' \
  '    (CONNECT_DATA =' \
  '      (SERVICE_NAME = XE)' \
  '    )' \
  '  )' \
  '' \
  'ORCL = (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = 10.0.0.5)(PORT = 1522))' \
  '  (CONNECT_DATA = (SERVER = DEDICATED)(SERVICE_NAME = orcl.example.pl)))' \
  'EXTPROC_CONNECTION_DATA = (DESCRIPTION = (ADDRESS_LIST = (ADDRESS = (PROTOCOL = IPC)(KEY = EXTPROC1)))' \
  '  (CONNECT_DATA = (SID = PLSExtProc)))' \
  >"$ADMIN/tnsnames.ora"
wineserver -w
touch "$MARK"
