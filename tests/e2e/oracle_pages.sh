# An Oracle client in the registry with a tnsnames.ora of entries in several
# shapes: the home page shows the home, the service page offers the entries
# that have a host, edits one, refuses a new one without a host, and reads
# the file afresh when shown again.
source "$(dirname "$0")/lib.sh"

ORACLE_KEY='HKLM\SOFTWARE\ORACLE'
remove_home() { wine reg delete "$ORACLE_KEY" /f /reg:32 >/dev/null 2>&1 || true; }
trap 'stop_wizard; remove_home; stop_display' EXIT

remove_home
HOME_KEY="$ORACLE_KEY\\KEY_OraClient11g_home1"
wine reg add "$HOME_KEY" /v ORACLE_HOME /d 'C:\oracle\e2e' /f /reg:32 >/dev/null
wine reg add "$HOME_KEY" /v ORACLE_HOME_NAME /d 'OraClient11g_home1' /f /reg:32 >/dev/null
wine reg add "$HOME_KEY" /v NLS_LANG /d 'POLISH_POLAND.EE8MSWIN1250' /f /reg:32 >/dev/null
wine reg add "$HOME_KEY" /v ORACLE_BUNDLE_NAME /d 'Enterprise' /f /reg:32 >/dev/null
ADMIN="$WINEPREFIX/drive_c/oracle/e2e/NETWORK/ADMIN"
mkdir -p "$ADMIN"
printf '%s\r\n' \
  '# e2e' \
  'XE =' \
  '  (DESCRIPTION =' \
  '    (ADDRESS = (PROTOCOL = TCP)(HOST = xe.host)(PORT = 1521))' \
  '    (CONNECT_DATA = (SERVER = DEDICATED) (SERVICE_NAME = XEPDB1))' \
  '  )' \
  'EXTPROC = (DESCRIPTION = (ADDRESS_LIST = (ADDRESS = (PROTOCOL = IPC)(KEY = EXTPROC1))))' \
  'alpha=(DESCRIPTION=(ADDRESS_LIST=(ADDRESS=(PROTOCOL=TCP)(HOST=alpha.host)(PORT=1600)))(CONNECT_DATA=(SERVICE_NAME=A)))' \
  >"$ADMIN/tnsnames.ora"
wineserver -w

reset_settings
store_settings 1 2
start_wizard
driver click ButtonDalej expect-page 2 \
       expect ComboBoxOracleHome items 'OraClient11g_home1' \
       expect ComboBoxOracleHome text 'OraClient11g_home1' \
       expect EditFolderHome text 'C:\oracle\e2e' \
       expect EditNLS text 'POLISH_POLAND.EE8MSWIN1250' \
       expect EditBoundle text 'Enterprise'
driver click ButtonDalej expect-page 4 \
       expect ComboBoxOracleServer items 'ALPHA|XE' \
       expect ComboBoxOracleServer text 'ALPHA' \
       expect DBEdit2 text 'alpha.host' expect DBEdit3 text '1600' expect DBEdit4 text 'A'
driver pick ComboBoxOracleServer 1 \
       expect DBEdit1 text 'TCP' expect DBEdit2 text 'xe.host' expect DBEdit3 text '1521' expect DBEdit4 text 'XEPDB1'
driver type ComboBoxOracleServer 'NOWY' \
       expect DBEdit1 text 'TCP' expect DBEdit2 text '' expect DBEdit3 text '1521' expect DBEdit4 text 'XE' \
       click ButtonDalej \
       expect-error "Pole 'Nazwa lub IP serwera' musi posiadać wartość." \
       expect-page 4
driver type DBEdit2 'nowy.host' click ButtonDalej expect-page 6
driver click ButtonWstecz expect-page 4 \
       expect ComboBoxOracleServer text 'ALPHA' expect DBEdit2 text 'alpha.host'
stop_wizard
