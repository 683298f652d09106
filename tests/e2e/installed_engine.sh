# "Wykonaj" on a workstation with the BDE installed: "DLLPATH" names the
# folder of the stand-in engine library ($3), which then does the alias work.
# SQL Server and Oracle runs leave their aliases in the engine's saved file;
# a second run finds them and reports them as modified; a refused save shows
# the engine's own text and saves nothing. Then /undo puts the window's runs
# back, the latest first.
source "$(dirname "$0")/lib.sh"
STANDIN_DLL=$3

ODBCINST='HKLM\SOFTWARE\ODBC\ODBCINST.INI'
ORACLE_KEY='HKLM\SOFTWARE\ORACLE'
BDE_KEY='HKLM\SOFTWARE\Borland\Database Engine'
BDE_DIR="$WINEPREFIX/drive_c/BDE-standin"
CONFIG="$BDE_DIR/IDAPI32.CFG"
ADMIN="$WINEPREFIX/drive_c/oracle/standin/NETWORK/ADMIN"
BACKUPS="$WINEPREFIX/drive_c/ProgramData/Novera/KonfigNovera"
cleanup() {
  stop_wizard
  wine reg delete "$BDE_KEY" /v DLLPATH /f /reg:32 >/dev/null 2>&1 || true
  wine reg delete "$BDE_KEY" /v CONFIGFILE01 /f /reg:32 >/dev/null 2>&1 || true
  # The tests that follow expect no driver and no data source.
  wine reg delete 'HKLM\SOFTWARE\ODBC\ODBC.INI' /f /reg:32 >/dev/null 2>&1 || true
  wine reg delete "$ODBCINST" /f /reg:32 >/dev/null 2>&1 || true
  wine reg delete "$ORACLE_KEY\\KEY_Standin" /f /reg:32 >/dev/null 2>&1 || true
  rm -rf "$BDE_DIR" "$WINEPREFIX/drive_c/oracle/standin" "$BACKUPS"
  stop_display
}
trap cleanup EXIT

rm -rf "$BDE_DIR" "$BACKUPS"
mkdir -p "$BDE_DIR" "$ADMIN"
cp "$STANDIN_DLL" "$BDE_DIR/idapi32.dll"
printf '%s\r\n' 'IDAPI STAND-IN' 'ALIAS Inny program' 'DB INFO TYPE=STANDARD' 'DB INFO PATH=C:\Inny' >"$CONFIG"
wine reg add "$BDE_KEY" /v DLLPATH /d 'C:\BDE-standin' /f /reg:32 >/dev/null
wine reg add "$BDE_KEY" /v CONFIGFILE01 /d 'C:\BDE-standin\IDAPI32.CFG' /f /reg:32 >/dev/null
wine reg add "$ODBCINST\ODBC Drivers" /v 'SQL Native Client' /d Installed /f /reg:32 >/dev/null
wine reg add "$ODBCINST\SQL Native Client" /v Driver /d 'C:\windows\system32\sqlncli.dll' /f /reg:32 >/dev/null
wine reg add "$ORACLE_KEY\\KEY_Standin" /v ORACLE_HOME /d 'C:\oracle\standin' /f /reg:32 >/dev/null
wine reg add "$ORACLE_KEY\\KEY_Standin" /v ORACLE_HOME_NAME /d 'Standin' /f /reg:32 >/dev/null
printf '%s\r\n' 'XE = (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = serwer)(PORT = 1521))' \
       '  (CONNECT_DATA = (SERVICE_NAME = XE)))' >"$ADMIN/tnsnames.ora"
wineserver -w

expect_config() {
  local config line
  config=$(tr -d '\r' <"$CONFIG")
  for line in "$@"; do
    grep -qxF "$line" <<<"$config" || { echo "the engine's saved file lacks: $line" >&2; exit 1; }
  done
}

run_mssql() {  # the report's verb for the data source and the aliases
  reset_settings
  store_settings 0 2
  start_wizard
  driver enter expect-page 1 type ComboBoxNazwaZrodla 'Novera E2E' \
         click ButtonDalej expect-page 3 type ComboBoxServer 'SRV\SQLEXPRESS' \
         click ButtonDalej expect-page 5 type ComboBoxBaza 'LUMIRA' \
         click ButtonWykonaj expect MemoStatus visible 1
  local lines=()
  for module in Ochrona LM 'LM- Faktury' 'LM- Magistr' 'LM- Odbiorcy' 'LM- Odczyty' 'LM- Archiwum' 'LM- Liczniki'; do
    lines+=("  $1 alias \"X Novera- $module\".")
  done
  expect_lines MemoStatus \
    'Konfiguracja została utworzona!' '' \
    " $1 źródło danych ODBC \"Novera E2E\"." '  Instancja serwera MSSQL: "SRV\SQLEXPRESS".' \
    '  Logowanie poprzez użytkownika Windows.' '' \
    ' Zmodyfikowano konfigurację BDE.' "${lines[@]}"
  driver click Button1
  expect_wizard_exit
  wineserver -w
}

run_mssql Utworzono
expect_config 'ALIAS Inny program' 'DB INFO PATH=C:\Inny' 'ALIAS X Novera- LM' 'DB INFO TYPE=SQL Native Client' \
              'DB OPEN DATABASE NAME=LUMIRA' 'DB OPEN USER NAME=dbo' 'DB OPEN ODBC DSN=Novera E2E' \
              'ALIAS X Novera- LM- Liczniki'
[ ! -e "$CONFIG.leak" ] || { echo "cursors were left open: $(cat "$CONFIG.leak")" >&2; exit 1; }

# The second run finds the aliases through the engine and modifies them.
run_mssql Zmodyfikowano
[ "$(grep -c '^ALIAS ' "$CONFIG")" = 9 ] || { echo "expected 9 aliases in the saved file" >&2; exit 1; }

# Oracle: the same aliases, now of another driver, are refused by the
# writer; under the test-copy names they are created.
reset_settings
store_settings 1 2
start_wizard
driver click CheckBoxKopia click ButtonDalej expect-page 2 pick ComboBoxOracleHome 0 \
       click ButtonDalej expect-page 4 click ButtonDalej expect-page 6 type ComboBoxUserLiczniki 'LICZNIKI' \
       click ButtonWykonaj expect MemoStatus visible 1 click Button1
expect_wizard_exit
wineserver -w
expect_config 'ALIAS KopiaX Novera- LM' 'DB INFO TYPE=ORACLE' 'DB OPEN SERVER NAME=XE' 'DB OPEN USER NAME=LICZNIKI'

# A save the engine refuses: its text, and nothing saved.
printf 'REFUSE DbiCfgSave\r\n' >>"$CONFIG"
cp "$CONFIG" "$CONFIG.before"
reset_settings
store_settings 0 0
start_wizard
driver enter expect-page 1 type ComboBoxNazwaZrodla 'Novera E2E' \
       click ButtonDalej expect-page 3 type ComboBoxServer 'SRV' \
       click ButtonDalej expect-page 5 type ComboBoxBaza 'LUMIRA' \
       click ButtonWykonaj expect-error 'Cannot write to Engine configuration file: C:\BDE-standin\IDAPI32.CFG.' \
       expect-page 5
stop_wizard
wineserver -w
cmp -s "$CONFIG" "$CONFIG.before" || { echo "a refused save changed the engine's file" >&2; exit 1; }

undo() {  # EXPECTED_CODE: /undo with its report, which it prints on a wrong code
  local code=0
  wine "$WIZARD_EXE" /undo /log 'C:\BDE-standin\undo.txt' >/dev/null || code=$?
  wineserver -w
  [ "$code" = "$1" ] || { echo "/undo: expected exit code $1, found $code" >&2; cat "$BDE_DIR/undo.txt" >&2; exit 1; }
}

# /undo of the refused run: its data source's server comes back; it had
# saved no alias, so the engine need not save and its refusal is no matter.
expect_reg 'HKLM\SOFTWARE\ODBC\ODBC.INI\Novera E2E' Server 'SRV'
undo 0
expect_reg 'HKLM\SOFTWARE\ODBC\ODBC.INI\Novera E2E' Server 'SRV\SQLEXPRESS'
grep -qF "Cofnięto przebieg" "$BDE_DIR/undo.txt" || { echo "/undo reported no run" >&2; exit 1; }

# /undo of the Oracle run deletes its aliases through the engine, which now
# saves again; the SQL Server aliases of the runs before stay.
sed -i '/^REFUSE DbiCfgSave/d' "$CONFIG"
undo 0
! grep -q '^ALIAS KopiaX Novera- ' "$CONFIG" || { echo "/undo left the Oracle run's aliases" >&2; exit 1; }
expect_config 'ALIAS Inny program' 'ALIAS X Novera- LM' 'DB OPEN ODBC DSN=Novera E2E'
[ "$(ls "$BACKUPS" | wc -l)" = 4 ] || { echo "expected the backups of four runs" >&2; ls "$BACKUPS" >&2; exit 1; }

