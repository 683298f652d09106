# The checks of the connections, against an Oracle listener on the loopback
# address that answers, then one that stays silent: "/s ... /verify" after
# a run, "/verify" alone on the workstation as that run left it (writing
# nothing), and "Sprawdź połączenia" on the status page, whose results come
# while the window goes on answering.
source "$(dirname "$0")/lib.sh"

ORACLE_KEY='HKLM\SOFTWARE\ORACLE'
BDE_KEY='HKLM\SOFTWARE\Borland\Database Engine'
CONFIG="$WINEPREFIX/drive_c/BDE/checks.cfg"
ADMIN="$WINEPREFIX/drive_c/oracle/checks/NETWORK/ADMIN"
WORK="$WINEPREFIX/drive_c/checks"
SERVERS=()
stop_servers() {
  local pid
  for pid in "${SERVERS[@]}"; do kill "$pid" 2>/dev/null || true; done
}
remove_homes() { wine reg delete "$ORACLE_KEY" /f /reg:32 >/dev/null 2>&1 || true; }
trap 'stop_wizard; stop_servers; remove_homes; reset_settings; rm -rf "$CONFIG" "$WORK" "$ADMIN"; stop_display' EXIT

point_entry_to() {  # PORT
  printf '%s\r\n' "NOVERA = (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = 127.0.0.1)(PORT = $1))" \
         '  (CONNECT_DATA = (SERVICE_NAME = XE)))' >"$ADMIN/tnsnames.ora"
}

remove_homes
wine reg add "$ORACLE_KEY\\KEY_Checks" /v ORACLE_HOME /d 'C:\oracle\checks' /f /reg:32 >/dev/null
wine reg add "$ORACLE_KEY\\KEY_Checks" /v ORACLE_HOME_NAME /d 'Klient' /f /reg:32 >/dev/null
wine reg add "$BDE_KEY" /v CONFIGFILE01 /d 'C:\BDE\checks.cfg' /f /reg:32 >/dev/null
rm -rf "$CONFIG" "$WORK" "$ADMIN"
mkdir -p "$ADMIN" "$WORK" "$(dirname "$CONFIG")"

start_server() {  # MODE: starts it and sets PORT
  python3 "$(dirname "$0")/loopback_server.py" "$1" >"$WORK/$1.port" &
  SERVERS+=("$!")
  for _ in $(seq 100); do
    [ -s "$WORK/$1.port" ] && break
    sleep 0.1
  done
  PORT=$(head -1 "$WORK/$1.port")
  [ -n "$PORT" ] || { echo "the $1 server did not start" >&2; exit 1; }
}
start_server listener
ANSWERING=$PORT
start_server silent
SILENT=$PORT
point_entry_to "$ANSWERING"
printf '%s\r\n' '[KonfigNovera]' 'Serwer=Oracle' 'Wersja=11' '[Oracle]' 'Serwis=NOVERA' \
       'UzytkownikOchrona=OCHRONA' 'UzytkownikLumira=LUMIRA' >"$WORK/answers.ini"
reset_settings
wineserver -w

run() {  # ARGUMENTS...: runs the wizard without a window and sets CODE
  set +e
  wine "$WIZARD_EXE" "$@" /log 'C:\checks\report.txt' >"$WORK/console.txt"
  CODE=$?
  set -e
  wineserver -w
}

expect_code() {
  [ "$CODE" = "$1" ] || { echo "exit code: expected $1, found $CODE" >&2; cat "$WORK/console.txt" >&2; exit 1; }
}

# The section the checks add, with the listener's line as given.
section() {  # LISTENER_LINE
  local alias
  printf '%s\n' '' ' Sprawdzenie połączeń:' \
    "  [OK] Wpis \"NOVERA\": znaleziony w pliku \"C:\\oracle\\checks\\NETWORK\\ADMIN\\tnsnames.ora\" jako \"NOVERA\"$2" \
    "$1" '  [POMINIĘTO] Użytkownik "OCHRONA": logowania nie sprawdzono, bo hasło nie jest znane' \
    '  [POMINIĘTO] Użytkownik "LUMIRA": logowania nie sprawdzono, bo hasło nie jest znane'
  for alias in Ochrona LM 'LM- Faktury' 'LM- Magistr' 'LM- Odbiorcy' 'LM- Odczyty' 'LM- Archiwum' 'LM- Liczniki'; do
    echo "  [OK] Alias BDE \"X Novera- $alias\": odczytany z konfiguracji BDE, sterownik \"ORACLE\", wartości zgodne z zapisanymi"
  done
  echo
}
entry_tail() {  # PORT
  echo " (komputer \"127.0.0.1\", port $1, usługa \"XE\")"
}
ANSWERED="  [OK] Listener na komputerze \"127.0.0.1\": port $ANSWERING odpowiada na pakiet TNS (odmowa połączenia: ORA-12514, adres 127.0.0.1)"

expect_section() {  # FILE LISTENER_LINE_PATTERN PORT: the report ends with the section
  local expected found
  # Both lose the closing empty line here, the expected one to the
  # command substitution.
  expected=$(section "LISTENER" "$(entry_tail "$3")")
  found=$(tr -d '\r' <"$1" | tail -n "$(($(wc -l <<<"$expected") + 1))")
  found=$(sed "4s/^$2\$/LISTENER/" <<<"$found")
  diff <(echo "$expected") <(echo "$found") >&2 || { echo "$1: the section differs (expected < > found)" >&2; exit 1; }
}

# After a run, against the answering listener: the checks pass.
run /s 'C:\checks\answers.ini' /verify
expect_code 0
head -1 "$WORK/report.txt" | grep -q '^Konfiguracja została utworzona!' || { echo "no run was reported" >&2; exit 1; }
expect_section "$WORK/report.txt" "$(sed 's/[][\.*^$/]/\\&/g' <<<"$ANSWERED")" "$ANSWERING"

# The workstation as it is, against the silent one: a failed check, exit
# code 3, and nothing written, not even the settings key.
point_entry_to "$SILENT"
snapshot() {  # FOLDER
  mkdir -p "$1"
  wine reg export 'HKLM\SOFTWARE\Borland' "$1/bde.reg" /reg:32 /y >/dev/null
  cp "$ADMIN/tnsnames.ora" "$ADMIN/sqlnet.ora" "$CONFIG" "$1/"
}
snapshot "$WORK/before"
store_settings 1 2
run /verify
expect_code 3
expect_section "$WORK/report.txt" "  \[BŁĄD\] Listener na komputerze \"127\.0\.0\.1\": .*" "$SILENT"
[ "$(grep -c . "$WORK/report.txt")" -lt 20 ] || { echo "/verify alone reported more than its checks" >&2; exit 1; }
snapshot "$WORK/after"
for file in bde.reg tnsnames.ora sqlnet.ora checks.cfg; do
  cmp -s "$WORK/before/$file" "$WORK/after/$file" || { echo "/verify alone changed $file" >&2; exit 1; }
done
reset_settings
run /verify
expect_setting Server missing

# The window: the button is out of reach while the silent listener keeps
# the checks waiting, the status page's lines stay and the window answers
# meanwhile; the section comes when all the results are in.
store_settings 1 2
start_wizard
driver click ButtonDalej expect-page 2 click ButtonDalej expect-page 4 expect ComboBoxOracleServer text NOVERA \
       click ButtonDalej expect-page 6 click ButtonWykonaj expect MemoStatus visible 1 \
       expect ButtonSprawdz visible 1 expect ButtonSprawdz enabled 1
driver print MemoStatus | tr -d '\r' >"$WORK/status.txt"
driver click ButtonSprawdz expect ButtonSprawdz enabled 0 expect Button1 enabled 1
driver print MemoStatus | tr -d '\r' | diff "$WORK/status.txt" - >&2 ||
  { echo "the section came before the checks ended, or the status page's lines changed" >&2; exit 1; }
for _ in $(seq 100); do
  driver expect ButtonSprawdz enabled 1 >/dev/null 2>&1 && break
  sleep 0.1
done
driver expect ButtonSprawdz enabled 1
driver print MemoStatus | tr -d '\r' >"$WORK/checked.txt"
head -n "$(wc -l <"$WORK/status.txt")" "$WORK/checked.txt" | diff "$WORK/status.txt" - >&2 ||
  { echo "the status page's own lines changed" >&2; exit 1; }
expect_section "$WORK/checked.txt" "  \[BŁĄD\] Listener na komputerze \"127\.0\.0\.1\": .*" "$SILENT"
driver click Button1
expect_wizard_exit
