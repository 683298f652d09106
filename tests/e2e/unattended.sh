# The unattended set-up, without a window, on the sample workstation with
# its installed BDE (the stand-in engine library $3): the README's two
# answers files, a save the engine refuses, then a wrong file that must
# leave the registry, the client files and the engine's configuration as
# they were; a run that fails halfway and puts back what it wrote; and
# /undo, which passes that run by and puts back the one before it.
source "$(dirname "$0")/lib.sh"
STANDIN_DLL=$3

DSN_KEY='HKLM\SOFTWARE\ODBC\ODBC.INI'
WORK="$WINEPREFIX/drive_c/unattended"
# The installed engine's own configuration, where its aliases are saved.
CONFIG="$SAMPLE_BDE_DIR/IDAPI32.CFG"
ADMIN=$SAMPLE_ADMIN
# Where every run keeps its backup: %ProgramData% of the prefix.
BACKUPS="$WINEPREFIX/drive_c/ProgramData/Novera/KonfigNovera"
trap 'remove_sample; rm -rf "$WORK" "$BACKUPS"; stop_display' EXIT
remove_sample
rm -rf "$WORK" "$BACKUPS"
"$ROOT/scripts/seed-workstation.sh" "$STANDIN_DLL"
mkdir -p "$WORK/saved"
cp "$ADMIN/tnsnames.ora" "$WORK/saved/"

# The README's examples, in order, as the administrator copies them.
sed -n '/^```ini$/,/^```$/p' "$ROOT/README.md" | awk -v dir="$WORK" '
  /^```ini$/ {n++; out = dir "/example" n ".ini"; printf "" > out; next}
  /^```$/ {next}
  {print >> out}'

# Every run also writes its result for scripts, which must match the
# README's schema, carry the run's exit code and hold the log's lines.
unattended() {  # ANSWERS: runs it and sets CODE
  rm -f "$WORK/result.json"
  set +e
  wine "$WIZARD_EXE" /s "C:\\unattended\\$1" /log 'C:\unattended\report.txt' \
       /json 'C:\unattended\result.json' >"$WORK/console.txt"
  CODE=$?
  set -e
  wineserver -w
  python3 "$ROOT/tests/e2e/check_result.py" "$WORK/result.json" configure "$CODE" "$WORK/report.txt"
}

expect_code() {
  if [ "$CODE" != "$1" ]; then
    echo "exit code: expected $1, found $CODE" >&2
    cat "$WORK/console.txt" >&2
    exit 1
  fi
}

expect_report() {
  if ! diff <(printf '%s\n' "$@") <(tr -d '\r' <"$WORK/report.txt") >&2; then
    echo "report.txt: lines differ (expected < > found)" >&2
    exit 1
  fi
  diff -q <(tr -d '\r' <"$WORK/report.txt") <(tr -d '\r' <"$WORK/console.txt") >/dev/null ||
    { echo "the console did not get the report" >&2; exit 1; }
}

expect_config() {
  local config line
  config=$(tr -d '\r' <"$CONFIG")
  for line in "$@"; do
    grep -qxF "$line" <<<"$config" || { echo "the engine's saved configuration lacks: $line" >&2; exit 1; }
  done
}

# Microsoft SQL Server.
unattended example1.ini
expect_code 0
expect_report 'Konfiguracja została utworzona!' '' \
  ' Utworzono źródło danych ODBC "Novera LM".' '  Instancja serwera MSSQL: "SRV\SQLEXPRESS".' \
  '  Logowanie poprzez użytkownika Windows.' '' ' Zmodyfikowano konfigurację BDE.' "${CREATED_ALIASES[@]}"
expect_reg "$DSN_KEY\\ODBC Data Sources" 'Novera LM' 'SQL Native Client'
expect_reg "$DSN_KEY\\Novera LM" Server 'SRV\SQLEXPRESS'
expect_reg "$DSN_KEY\\Novera LM" Trusted_Connection Yes
expect_config 'ALIAS X Novera- LM' 'DB INFO TYPE=SQL Native Client' 'ALIAS X Novera- LM- Archiwum' \
              'DB OPEN DATABASE NAME=LUMIRA' 'DB OPEN DATABASE NAME=LUMIRA_ARCH' 'DB OPEN ODBC DSN=Novera LM' \
              'DB OPEN USER NAME=dbo'

# A save the engine refuses: exit code 1, what was written before it, the
# engine's own text, and the engine's configuration as it was.
printf 'REFUSE DbiCfgSave\r\n' >>"$CONFIG"
cp "$CONFIG" "$WORK/saved/IDAPI32.CFG"
unattended example1.ini
expect_code 1
modified=()
for line in "${CREATED_ALIASES[@]}"; do modified+=("${line/Utworzono/Zmodyfikowano}"); done
# The run wrote the values that stood already, so there is nothing to put
# back; the report names its backup.
expect_report 'Konfiguracja została utworzona!' '' \
  ' Zmodyfikowano źródło danych ODBC "Novera LM".' '  Instancja serwera MSSQL: "SRV\SQLEXPRESS".' \
  '  Logowanie poprzez użytkownika Windows.' '' ' Zmodyfikowano konfigurację BDE.' "${modified[@]}" \
  'Cannot write to Engine configuration file: C:\Program Files\Common Files\Borland Shared\BDE\IDAPI32.CFG.' \
  '' ' Przebieg niczego nie zmienił.' ' Kopia zapasowa:' \
  "     \"C:\\ProgramData\\Novera\\KonfigNovera\\$(ls "$BACKUPS" | sort | tail -1)\""
cmp -s "$CONFIG" "$WORK/saved/IDAPI32.CFG" || { echo "a refused save changed the engine's configuration" >&2; exit 1; }

# Oracle, on a new engine configuration: the aliases of SQL Server are of
# another driver.
rm -f "$CONFIG"
unattended example2.ini
expect_code 0
expect_report 'Konfiguracja została utworzona!' '' \
  '  Utworzono plik' '     "C:\oracle\client\NETWORK\ADMIN\sqlnet.ora"' '' \
  '  Zmodyfikowano plik' '     "C:\oracle\client\NETWORK\ADMIN\tnsnames.ora"' '' \
  ' Zmodyfikowano konfigurację BDE.' "${CREATED_ALIASES[@]}"
# The entry takes the host given; the other entries stay as they were.
expected_tnsnames=("$(sed -n 1p "$WORK/saved/tnsnames.ora" | tr -d '\r')")
while IFS= read -r line; do expected_tnsnames+=("$line"); done < <(tr -d '\r' <"$WORK/saved/tnsnames.ora" | sed -n '11,$p')
expected_tnsnames+=('XE.SERWER =' '  (DESCRIPTION =' '    (ADDRESS_LIST =' \
  '      (ADDRESS = (PROTOCOL = TCP)(HOST = serwer.firma.pl)(PORT = 1521))' '    )' \
  '    (CONNECT_DATA =' '      (SERVICE_NAME = XE)' '    )' '  )')
diff <(printf '%s\n' "${expected_tnsnames[@]}") <(tr -d '\r' <"$ADMIN/tnsnames.ora") >&2 ||
  { echo "tnsnames.ora differs (expected < > found)" >&2; exit 1; }
expect_config 'ALIAS X Novera- LM- Liczniki' 'DB INFO TYPE=ORACLE' 'DB OPEN SERVER NAME=XE.SERWER' \
              'DB OPEN USER NAME=OCHRONA' 'DB OPEN USER NAME=LUMIRA' 'DB OPEN USER NAME=LICZNIKI'

# A wrong file: exit code 2, one line, and nothing touched at all.
snapshot() {  # FOLDER
  mkdir -p "$1"
  wine reg export 'HKLM\SOFTWARE\ODBC' "$1/odbc.reg" /reg:32 /y >/dev/null
  wine reg export 'HKLM\SOFTWARE\Borland' "$1/bde.reg" /reg:32 /y >/dev/null
  wine reg export 'HKCU\software\Novera' "$1/settings.reg" /y >/dev/null 2>&1 || true
  cp "$ADMIN/tnsnames.ora" "$ADMIN/sqlnet.ora" "$CONFIG" "$1/"
}
snapshot "$WORK/before"
sed 's/^Port=1521$/Port=15x1/; s/^Host=serwer.firma.pl/Host=inny.host/' "$WORK/example2.ini" >"$WORK/wrong.ini"
port_line=$(grep -n '^Port=' "$WORK/wrong.ini" | cut -d: -f1)
unattended wrong.ini
expect_code 2
expect_report "Plik odpowiedzi \"C:\\unattended\\wrong.ini\", wiersz $port_line: klucz \"Port\": niepoprawna liczba \"15x1\", dozwolone: 1 do 65535."
snapshot "$WORK/after"
for file in odbc.reg bde.reg settings.reg tnsnames.ora sqlnet.ora IDAPI32.CFG; do
  [ ! -e "$WORK/before/$file" ] && [ ! -e "$WORK/after/$file" ] && continue
  cmp -s "$WORK/before/$file" "$WORK/after/$file" || { echo "a wrong answers file changed $file" >&2; exit 1; }
done

# All or nothing: a run whose aliases are Oracle's by now fails at its
# first one, after it has changed the data source; the data source comes
# back as it was, byte for byte, and the run's backup says it was rolled
# back.
snapshot "$WORK/before-failing"
sed 's/^SerwerMSSQL=.*/SerwerMSSQL=INNY/' "$WORK/example1.ini" >"$WORK/failing.ini"
unattended failing.ini
expect_code 1
failing_run=$(ls "$BACKUPS" | sort | tail -1)
report=$(tr -d '\r' <"$WORK/report.txt")
for line in 'Alias BDE "X Novera- Ochrona" istnieje i jest innego typu.' ' Wycofano zmiany przebiegu:' \
            '  klucz rejestru "HKEY_LOCAL_MACHINE\SOFTWARE\ODBC\ODBC.INI\Novera LM": przywrócono.' \
            "     \"C:\\ProgramData\\Novera\\KonfigNovera\\$failing_run\""; do
  grep -qxF "$line" <<<"$report" || { echo "the failed run's report lacks: $line" >&2; cat "$WORK/report.txt" >&2; exit 1; }
done
snapshot "$WORK/after-failing"
for file in odbc.reg bde.reg settings.reg tnsnames.ora sqlnet.ora IDAPI32.CFG; do
  [ ! -e "$WORK/before-failing/$file" ] && [ ! -e "$WORK/after-failing/$file" ] && continue
  cmp -s "$WORK/before-failing/$file" "$WORK/after-failing/$file" ||
    { echo "the failed run left $file changed" >&2; exit 1; }
done
grep -qx 'Stan: wycofany' <(tr -d '\r' <"$BACKUPS/$failing_run/manifest.txt") ||
  { echo "the failed run's backup is not marked rolled back" >&2; exit 1; }
# The manifest names the files of the folder, and they are there.
tr -d '\r' <"$BACKUPS/$failing_run/manifest.txt" | sed -n '6,$p' | cut -f5,7 | tr '\t' '\n' | grep -v '^-$' |
  while IFS= read -r file; do [ -e "$BACKUPS/$failing_run/$file" ] || { echo "the backup lacks $file" >&2; exit 1; }; done

# /undo passes the rolled-back run by and puts back the Oracle run: the
# client files as the workstation had them, its aliases deleted.
oracle_run=$(ls "$BACKUPS" | sort | tail -2 | head -1)
set +e
rm -f "$WORK/result.json"
wine "$WIZARD_EXE" /undo /log 'C:\unattended\report.txt' /json 'C:\unattended\result.json' >"$WORK/console.txt"
CODE=$?
set -e
wineserver -w
expect_code 0
python3 "$ROOT/tests/e2e/check_result.py" "$WORK/result.json" undo "$CODE" "$WORK/report.txt"
[ "$(head -1 "$WORK/report.txt" | tr -d '\r')" = "Cofnięto przebieg $oracle_run." ] ||
  { echo "/undo reported another run:" >&2; cat "$WORK/report.txt" >&2; exit 1; }
cmp -s "$ADMIN/tnsnames.ora" "$WORK/saved/tnsnames.ora" || { echo "/undo did not put tnsnames.ora back" >&2; exit 1; }
[ ! -e "$ADMIN/sqlnet.ora" ] || { echo "/undo left the sqlnet.ora the run had made" >&2; exit 1; }
! grep -q '^ALIAS ' "$CONFIG" || { echo "/undo left aliases of the run:" >&2; cat "$CONFIG" >&2; exit 1; }
grep -qx 'Stan: cofnięty' <(tr -d '\r' <"$BACKUPS/$oracle_run/manifest.txt") ||
  { echo "the undone run's backup is not marked undone" >&2; exit 1; }

# A wrong command line still leaves its result where it names one.
set +e
wine "$WIZARD_EXE" /s 'C:\unattended\wrong.ini' /nic /json 'C:\unattended\result.json' >"$WORK/console.txt"
CODE=$?
set -e
wineserver -w
expect_code 2
python3 "$ROOT/tests/e2e/check_result.py" "$WORK/result.json" invalid 2
grep -q 'nieznany argument' "$WORK/result.json" || { echo "the result lacks the command line's error" >&2; exit 1; }
