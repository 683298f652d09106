# "Wykonaj" for Microsoft SQL Server. Without the driver registration the
# run stops with the driver's message, on the last page, with the engine's
# configuration untouched; once the driver is registered, pressing it again
# writes the data source, "Novera- Net" and eight aliases, shows the report, and "OK" ends
# the program.
source "$(dirname "$0")/lib.sh"

ODBC='HKLM\SOFTWARE\ODBC\ODBC.INI'
ODBCINST='HKLM\SOFTWARE\ODBC\ODBCINST.INI'
BDE_KEY='HKLM\SOFTWARE\Borland\Database Engine'
CONFIG="$WINEPREFIX/drive_c/BDE/apply-mssql.cfg"
reset_odbc() {
  wine reg delete "$ODBC" /f /reg:32 >/dev/null 2>&1 || true
  wine reg delete "$ODBCINST" /f /reg:32 >/dev/null 2>&1 || true
}
trap 'stop_wizard; reset_odbc; rm -f "$CONFIG" "$CONFIG.before"; stop_display' EXIT

reset_settings
store_settings 0 2
reset_odbc
wine reg add "$BDE_KEY" /v CONFIGFILE01 /d 'C:\BDE\apply-mssql.cfg' /f /reg:32 >/dev/null
mkdir -p "$(dirname "$CONFIG")"
seed_file_based_alias "$CONFIG"
printf '%s\r\n' 'ALIAS Inny program' 'DRIVER STANDARD' 'PARAM PATH=C:\Inny' \
       'PARAM DEFAULT DRIVER=PARADOX' 'PARAM ENABLE BCD=FALSE' 'END' >>"$CONFIG"
cp "$CONFIG" "$CONFIG.before"
wineserver -w

start_wizard
driver enter expect-page 1 type ComboBoxNazwaZrodla 'Novera E2E' \
       click ButtonDalej expect-page 3 type ComboBoxServer 'SRV\SQLEXPRESS' \
       click ButtonDalej expect-page 5 type ComboBoxBaza 'LUMIRA' \
       click ButtonWykonaj expect-error 'Brak sterownika ODBC "SQL Native Client"' expect-page 5
cmp -s "$CONFIG" "$CONFIG.before" || { echo "a failed run changed the engine's configuration" >&2; exit 1; }

wine reg add "$ODBCINST\ODBC Drivers" /v 'SQL Native Client' /d Installed /f /reg:32 >/dev/null
wine reg add "$ODBCINST\SQL Native Client" /v Driver /d 'C:\windows\system32\sqlncli.dll' /f /reg:32 >/dev/null
driver click ButtonWykonaj expect MemoStatus visible 1 expect Button1 visible 1 expect ButtonWykonaj visible 0
expect_lines MemoStatus \
  'Konfiguracja została utworzona!' '' \
  ' Utworzono źródło danych ODBC "Novera E2E".' '  Instancja serwera MSSQL: "SRV\SQLEXPRESS".' \
  '  Logowanie poprzez użytkownika Windows.' '' \
  ' Zmodyfikowano konfigurację BDE.' "${CREATED_ALIASES[@]}"
driver click Button1
expect_wizard_exit
wineserver -w

expect_reg "$ODBC\ODBC Data Sources" 'Novera E2E' 'SQL Native Client'
expect_reg "$ODBC\Novera E2E" Driver 'C:\windows\system32\sqlncli.dll'
expect_reg "$ODBC\Novera E2E" MARS_Connection Yes
expect_reg "$ODBC\Novera E2E" Server 'SRV\SQLEXPRESS'
expect_reg "$ODBC\Novera E2E" Trusted_Connection Yes

config=$(tr -d '\r' <"$CONFIG")
for line in 'ALIAS Inny program' 'ALIAS X Novera- Ochrona' 'ALIAS X Novera- LM- Liczniki' 'DRIVER SQL Native Client' \
            'PARAM DATABASE NAME=LUMIRA' 'PARAM USER NAME=dbo' 'PARAM ODBC DSN=Novera E2E' 'PARAM LANGDRIVER=anpolish'; do
  grep -qxF "$line" <<<"$config" || { echo "the engine's configuration lacks: $line" >&2; exit 1; }
done
[ "$(grep -c '^ALIAS ' <<<"$config")" = 11 ] || { echo "expected 11 aliases in the configuration" >&2; exit 1; }
expect_net_alias "$CONFIG"
