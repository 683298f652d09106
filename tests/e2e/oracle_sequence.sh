# Stored Oracle and "9 (II)": the wizard starts on the Oracle sequence and
# walks 0, 2, 4, 6 and back with the right buttons; the settings stay.
source "$(dirname "$0")/lib.sh"

reset_settings
store_settings 1 0
start_wizard
driver expect RadioGroupSerwer marked 1 expect RadioGroupWersja marked 0 expect-page 0
expect_buttons "-D-"
for page in 2 4; do
  driver click ButtonDalej expect-page $page
  expect_buttons "WD-"
done
# The service entry needs a host before the page can be left.
driver type DBEdit2 'db.example.pl' click ButtonDalej expect-page 6
expect_buttons "W-X"
for page in 4 2 0; do
  driver click ButtonWstecz expect-page $page
done
expect_buttons "-D-"
expect_setting Server 1
expect_setting Wersja 0
stop_wizard
expect_setting Server 1
expect_setting Wersja 0
