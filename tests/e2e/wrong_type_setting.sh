# A stored choice of the wrong type is reported in an error box with its
# full stop; the first page still stands with its buttons, and start-up
# stores the choices on screen again.
source "$(dirname "$0")/lib.sh"

reset_settings
wine reg add "$SETTINGS_KEY" /v Server /t REG_SZ /d 1 /f >/dev/null
wine reg add "$SETTINGS_KEY" /v Wersja /t REG_DWORD /d 0 /f >/dev/null
wine "$WIZARD_EXE" &
WIZARD_PID=$!
driver wait expect-error 'Niepoprawny typ danych : Server.' expect-page 0 \
       expect RadioGroupSerwer marked 0 expect RadioGroupWersja marked 2
expect_buttons "-D-"
expect_setting Server 0
expect_setting Wersja 2
