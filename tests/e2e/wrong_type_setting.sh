# A value of the wrong type read at start-up is reported in an error box
# with its full stop; the first page still stands with its buttons and the
# defaults, and the remembered choices survive: start-up writes nothing back.
source "$(dirname "$0")/lib.sh"

BDE_KEY='HKLM\SOFTWARE\Borland\Database Engine'
trap 'stop_wizard; reset_settings; wine reg delete "$BDE_KEY" /v CONFIGFILE01 /f /reg:32 >/dev/null 2>&1 || true; stop_display' EXIT

start_with_error() {
  wine "$WIZARD_EXE" &
  WIZARD_PID=$!
  driver wait expect-error "$1" expect-page 0 \
         expect RadioGroupSerwer marked 0 expect RadioGroupWersja marked 2
  expect_buttons "-D-"
  stop_wizard
}

# The BDE key's file name as a number: the stored choices are not restored.
reset_settings
store_settings 1 0
wine reg add "$BDE_KEY" /v CONFIGFILE01 /t REG_DWORD /d 3 /f /reg:32 >/dev/null
start_with_error 'Niepoprawny typ danych : CONFIGFILE01.'
expect_setting Server 1
expect_setting Wersja 0
wine reg delete "$BDE_KEY" /v CONFIGFILE01 /f /reg:32 >/dev/null

# A wrong-typed "Wersja" leaves the valid "Server" as it was.
reset_settings
wine reg add "$SETTINGS_KEY" /v Server /t REG_DWORD /d 1 /f >/dev/null
wine reg add "$SETTINGS_KEY" /v Wersja /t REG_SZ /d 0 /f >/dev/null
start_with_error 'Niepoprawny typ danych : Wersja.'
expect_setting Server 1
wersja=$(wine reg query "$SETTINGS_KEY" /v Wersja | tr -d '\r' | awk '$1 == "Wersja" {print $2, $3}')
[ "$wersja" = "REG_SZ 0" ] || { echo "setting Wersja: expected REG_SZ 0, found $wersja" >&2; exit 1; }
