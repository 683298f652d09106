# "Wykonaj" for Oracle. A home whose network folder does not exist stops
# the run with the file error, and nothing is saved; with the right home the
# edited entry, which holds more than the nine-line layout (SERVER), has only
# its host changed where it stands, every other line of tnsnames.ora stays,
# sqlnet.ora gets both items, the aliases name the service and the schema
# users, and the older file-based alias is brought forward as "Novera- Net".
# Then, with TNS_ADMIN set, the folder it names is the one configured: its
# entry that an IFILE line includes is edited in its own file, and the
# home's own files stay as they were.
source "$(dirname "$0")/lib.sh"

ORACLE_KEY='HKLM\SOFTWARE\ORACLE'
BDE_KEY='HKLM\SOFTWARE\Borland\Database Engine'
CONFIG="$WINEPREFIX/drive_c/BDE/apply-oracle.cfg"
ADMIN="$WINEPREFIX/drive_c/oracle/apply/NETWORK/ADMIN"
CENTRAL="$WINEPREFIX/drive_c/oracle/central"
remove_homes() { wine reg delete "$ORACLE_KEY" /f /reg:32 >/dev/null 2>&1 || true; }
trap 'stop_wizard; remove_homes; rm -rf "$CONFIG" "$CONFIG.before" "$CENTRAL"; stop_display' EXIT

add_home() {  # subkey, display name, folder
  wine reg add "$ORACLE_KEY\\$1" /v ORACLE_HOME /d "$3" /f /reg:32 >/dev/null
  wine reg add "$ORACLE_KEY\\$1" /v ORACLE_HOME_NAME /d "$2" /f /reg:32 >/dev/null
}
remove_homes
add_home KEY_Broken 'A bez folderu' 'C:\oracle\missing'
add_home KEY_Apply 'Klient' 'C:\oracle\apply'
rm -rf "$WINEPREFIX/drive_c/oracle/apply" "$WINEPREFIX/drive_c/oracle/missing" "$CONFIG"
mkdir -p "$ADMIN"
seed_file_based_alias "$CONFIG"
cp "$CONFIG" "$CONFIG.before"
TNSNAMES=(
  '# Plik wspólny'
  'XE.SERWER ='
  '  (DESCRIPTION ='
  '    (ADDRESS = (PROTOCOL = TCP)(HOST = stary.host)(PORT = 1521))'
  '    (CONNECT_DATA = (SERVER = DEDICATED)(SERVICE_NAME = XE))'
  '  )'
  ''
  'INNY=(DESCRIPTION=(ADDRESS_LIST=(ADDRESS=(PROTOCOL=TCP)(HOST=inny.host)(PORT=1522)))(CONNECT_DATA=(SERVICE_NAME=I)))'
  'EXTPROC = (DESCRIPTION = (ADDRESS_LIST = (ADDRESS = (PROTOCOL = IPC)(KEY = EXTPROC1))))'
)
printf '%s\r\n' "${TNSNAMES[@]}" >"$ADMIN/tnsnames.ora"
wine reg add "$BDE_KEY" /v CONFIGFILE01 /d 'C:\BDE\apply-oracle.cfg' /f /reg:32 >/dev/null
wineserver -w

reset_settings
store_settings 1 2
start_wizard
driver click ButtonDalej expect-page 2 expect ComboBoxOracleHome text 'A bez folderu' \
       click ButtonDalej expect-page 4 type DBEdit2 'x.host' click ButtonDalej expect-page 6 \
       click ButtonWykonaj \
       expect-error 'Nie można utworzyć pliku "C:\oracle\missing\NETWORK\ADMIN\sqlnet.ora". Path not found.' \
       expect-page 6
cmp -s "$CONFIG" "$CONFIG.before" || { echo "a failed run saved the engine's configuration" >&2; exit 1; }

driver click ButtonWstecz click ButtonWstecz expect-page 2 pick ComboBoxOracleHome 1 \
       expect EditFolderHome text 'C:\oracle\apply' \
       click ButtonDalej expect-page 4 pick ComboBoxOracleServer 1 expect ComboBoxOracleServer text 'XE.SERWER' \
       expect DBEdit2 text 'stary.host' type DBEdit2 'nowy.host' \
       click ButtonDalej expect-page 6 type ComboBoxUserLiczniki 'LICZNIKI' \
       click ButtonWykonaj expect MemoStatus visible 1
expect_lines MemoStatus \
  'Konfiguracja została utworzona!' '' \
  '  Utworzono plik' '     "C:\oracle\apply\NETWORK\ADMIN\sqlnet.ora"' '' \
  '  Zmodyfikowano plik' '     "C:\oracle\apply\NETWORK\ADMIN\tnsnames.ora"' '' \
  ' Zmodyfikowano konfigurację BDE.' "${CREATED_ALIASES[@]}"
driver click Button1
expect_wizard_exit

expected_tnsnames=("${TNSNAMES[@]}")
expected_tnsnames[3]='    (ADDRESS = (PROTOCOL = TCP)(HOST = nowy.host)(PORT = 1521))'
diff <(printf '%s\n' "${expected_tnsnames[@]}") <(tr -d '\r' <"$ADMIN/tnsnames.ora") >&2 ||
  { echo "tnsnames.ora differs (expected < > found)" >&2; exit 1; }
diff <(printf '%s\n' 'SQLNET.AUTHENTICATION_SERVICES=(NTS)' 'NAMES.DIRECTORY_PATH=(TNSNAMES)') \
     <(tr -d '\r' <"$ADMIN/sqlnet.ora") >&2 || { echo "sqlnet.ora differs" >&2; exit 1; }

config=$(tr -d '\r' <"$CONFIG")
for line in 'ALIAS X Novera- LM- Liczniki' 'DRIVER ORACLE' 'PARAM SERVER NAME=XE.SERWER' \
            'PARAM USER NAME=NOVERA_OCHRONA' 'PARAM USER NAME=NOVERA_LM' 'PARAM USER NAME=LICZNIKI'; do
  grep -qxF "$line" <<<"$config" || { echo "the engine's configuration lacks: $line" >&2; exit 1; }
done
expect_net_alias "$CONFIG"

# TNS_ADMIN in the environment the wizard, like the suite's programs,
# starts with.
rm -rf "$CENTRAL"
mkdir -p "$CENTRAL"
printf '%s\r\n' 'IFILE = wspolny.ora' >"$CENTRAL/tnsnames.ora"
printf '%s\r\n' '# Plik działu IT' \
  'LM.FIRMA = (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = stary.host)(PORT = 1521))(CONNECT_DATA = (SERVICE_NAME = LM)))' \
  >"$CENTRAL/wspolny.ora"
home_files=$(cat "$ADMIN/tnsnames.ora" "$ADMIN/sqlnet.ora" | md5sum)
TNS_ADMIN='C:\oracle\central' start_wizard
driver click ButtonDalej expect-page 2 pick ComboBoxOracleHome 1 expect EditFolderHome text 'C:\oracle\apply' \
       click ButtonDalej expect-page 4 pick ComboBoxOracleServer 0 expect ComboBoxOracleServer text 'LM.FIRMA' \
       expect DBEdit2 text 'stary.host' type DBEdit2 'nowy.host' \
       click ButtonDalej expect-page 6 click ButtonWykonaj expect MemoStatus visible 1
diff <(printf '%s\n' 'Konfiguracja została utworzona!' '' \
         '  Utworzono plik' '     "C:\oracle\central\sqlnet.ora"' '' \
         '  Zmodyfikowano plik' '     "C:\oracle\central\wspolny.ora"' '' ' Zmodyfikowano konfigurację BDE.') \
     <(driver print MemoStatus | tr -d '\r' | head -9) >&2 || { echo "MemoStatus: lines differ" >&2; exit 1; }
driver click Button1
expect_wizard_exit

[ "$(cat "$ADMIN/tnsnames.ora" "$ADMIN/sqlnet.ora" | md5sum)" = "$home_files" ] ||
  { echo "the home's own files were touched" >&2; exit 1; }
diff <(printf '%s\n' 'IFILE = wspolny.ora') <(tr -d '\r' <"$CENTRAL/tnsnames.ora") >&2 ||
  { echo "the including tnsnames.ora was touched" >&2; exit 1; }
diff <(printf '%s\n' '# Plik działu IT' 'LM.FIRMA =' '  (DESCRIPTION =' '    (ADDRESS_LIST =' \
         '      (ADDRESS = (PROTOCOL = TCP)(HOST = nowy.host)(PORT = 1521))' '    )' '    (CONNECT_DATA =' \
         '      (SERVICE_NAME = LM)' '    )' '  )') <(tr -d '\r' <"$CENTRAL/wspolny.ora") >&2 ||
  { echo "wspolny.ora differs (expected < > found)" >&2; exit 1; }
diff <(printf '%s\n' 'SQLNET.AUTHENTICATION_SERVICES=(NTS)' 'NAMES.DIRECTORY_PATH=(TNSNAMES)') \
     <(tr -d '\r' <"$CENTRAL/sqlnet.ora") >&2 || { echo "the central sqlnet.ora differs" >&2; exit 1; }
grep -qxF 'PARAM SERVER NAME=LM.FIRMA' <(tr -d '\r' <"$CONFIG") ||
  { echo "the aliases do not name LM.FIRMA" >&2; exit 1; }
