# Microsoft SQL Server walks 0, 1, 3, 5 and back; Enter presses "Dalej >"
# while it is enabled; the archive field follows the version; a change of
# the server kind on the first page takes effect with the next step.
source "$(dirname "$0")/lib.sh"

reset_settings
start_wizard
driver expect-page 0 enter expect-page 1 \
       expect Label1 text 'Nazwa źródła danych ODBC' \
       expect ComboBoxNazwaZrodla text 'MSSQL Novera LM'
expect_buttons "WD-"
driver enter expect-page 3 expect CheckBoxWindows checked 1
driver click ButtonDalej expect-page 5 \
       expect LabelBazaArchiwum visible 1 expect ComboBoxBazaArchiwum visible 1
expect_buttons "W-X"
# Enter now means "Wykonaj", which does not move the wizard.
driver enter expect-page 5
for page in 3 1 0; do
  driver click ButtonWstecz expect-page $page
done
driver radio RadioGroupWersja 1
expect_setting Wersja 1
driver click ButtonDalej click ButtonDalej click ButtonDalej expect-page 5 \
       expect LabelBazaArchiwum visible 0 expect ComboBoxBazaArchiwum visible 0
driver click ButtonWstecz click ButtonWstecz click ButtonWstecz expect-page 0 \
       radio RadioGroupSerwer 1 click ButtonDalej expect-page 2
expect_setting Server 1
expect_setting Wersja 1
