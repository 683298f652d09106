# The SQL Server pages on a workstation with ODBC data sources: the data
# source page lists those of "SQL Native Client", the server page is
# pre-set from the one picked, and opening the server and database lists
# under Wine, whose driver manager knows no SQL Server, leaves them empty
# without a message and leaves no temporary data source behind.
source "$(dirname "$0")/lib.sh"

ODBC='HKLM\SOFTWARE\ODBC\ODBC.INI'
ODBCINST='HKLM\SOFTWARE\ODBC\ODBCINST.INI'
reg_add() { wine reg add "$1" /v "$2" /d "$3" /f /reg:32 >/dev/null; }
reg_has() { wine reg query "$1" ${2:+/v "$2"} /reg:32 >/dev/null 2>&1; }
reset_odbc() {
  wine reg delete "$ODBC" /f /reg:32 >/dev/null 2>&1 || true
  wine reg delete "$ODBCINST" /f /reg:32 >/dev/null 2>&1 || true
}

reset_settings
store_settings 0 2
reset_odbc
reg_add "$ODBC\ODBC Data Sources" 'Kadry Łódź' 'SQL Native Client'
reg_add "$ODBC\ODBC Data Sources" 'Alfa' 'SQL Native Client'
reg_add "$ODBC\ODBC Data Sources" 'Obca' 'SQL Server'
reg_add "$ODBC\Kadry Łódź" Server 'ALFA\SQLEXPRESS'
reg_add "$ODBC\Kadry Łódź" Trusted_Connection No

start_wizard
driver enter expect-page 1 \
       expect ComboBoxNazwaZrodla items 'Alfa|Kadry Łódź' \
       expect ComboBoxNazwaZrodla text 'MSSQL Novera LM' \
       pick ComboBoxNazwaZrodla 1 expect ComboBoxNazwaZrodla text 'Kadry Łódź' \
       click ButtonDalej expect-page 3 \
       expect ComboBoxServer text 'ALFA\SQLEXPRESS' expect CheckBoxWindows checked 0 \
       dropdown ComboBoxServer expect ComboBoxServer items '' expect ComboBoxServer text 'ALFA\SQLEXPRESS' \
       click ButtonDalej expect-page 5

# Without the driver registered no connection is tried; the check opens
# (and so creates) the driver list key.
driver dropdown ComboBoxBaza expect ComboBoxBaza items ''
reg_has "$ODBCINST\ODBC Drivers" || { echo "opening the database list did not check the driver" >&2; exit 1; }

# With it, the connection goes through Wine's odbc32 and fails quietly.
reg_add "$ODBCINST\ODBC Drivers" 'SQL Native Client' Installed
reg_add "$ODBCINST\SQL Native Client" Driver 'C:\windows\system32\sqlncli.dll'
driver dropdown ComboBoxBazaLiczniki expect ComboBoxBazaLiczniki items '' \
       click ButtonWstecz expect-page 3 expect ComboBoxServer text 'ALFA\SQLEXPRESS'
stop_wizard

if reg_has "$ODBC\ODBC Data Sources" TmpNoveraMSSQLDataSource || reg_has "$ODBC\TmpNoveraMSSQLDataSource"; then
  echo "the temporary data source was left behind" >&2
  exit 1
fi
reset_odbc
