# /export on the sample workstation configured with one of the README's
# answers files, then /s with the exported file on a second sample
# workstation made afresh: the second gets the same data source, aliases
# (the installed engine's saved configuration) and tnsnames.ora. /plan
# with the exported file changes nothing on either: on the first it finds
# nothing to change, on the second it names what /s then changes. Both
# server kinds. $3 is the stand-in engine library.
source "$(dirname "$0")/lib.sh"
STANDIN_DLL=$3

WORK="$WINEPREFIX/drive_c/export"
# Fresh: no choices stored by an earlier window either.
fresh_workstation() {
  remove_sample
  reset_settings
  "$ROOT/scripts/seed-workstation.sh" "$STANDIN_DLL"
}
trap 'remove_sample; rm -rf "$WORK"; stop_display' EXIT
mkdir -p "$WORK"
sed -n '/^```ini$/,/^```$/p' "$ROOT/README.md" | awk -v dir="$WORK" '
  /^```ini$/ {n++; out = dir "/example" n ".ini"; printf "" > out; next}
  /^```$/ {next}
  {print >> out}'

run() {  # MODE ARGUMENTS...: runs the wizard, which must end with exit code 0
  local mode=$1
  shift
  rm -f "$WORK/result.json"
  set +e
  wine "$WIZARD_EXE" "$@" /log 'C:\export\report.txt' /json 'C:\export\result.json' >"$WORK/console.txt"
  local code=$?
  set -e
  wineserver -w
  [ "$code" = 0 ] || { echo "$*: exit code $code" >&2; cat "$WORK/console.txt" >&2; exit 1; }
  python3 "$ROOT/tests/e2e/check_result.py" "$WORK/result.json" "$mode" 0 "$WORK/report.txt"
}

state() {  # FOLDER: what an answers file decides on the workstation
  mkdir -p "$1"
  wine reg export 'HKLM\SOFTWARE\ODBC\ODBC.INI' "$1/odbc.utf16" /reg:32 /y >/dev/null 2>&1 || : >"$1/odbc.utf16"
  iconv -f UTF-16 -t UTF-8 "$1/odbc.utf16" | tr -d '\r' >"$1/odbc.reg"
  local file
  for file in "$SAMPLE_BDE_DIR/IDAPI32.CFG" "$SAMPLE_ADMIN/tnsnames.ora"; do
    if [ -e "$file" ]; then cp "$file" "$1/"; else echo missing >"$1/$(basename "$file")"; fi
  done
}

same_state() {  # FIRST SECOND WHAT: the two states hold the same
  for file in odbc.reg IDAPI32.CFG tnsnames.ora; do
    diff "$1/$file" "$2/$file" >&2 || { echo "$3: $file differs (< >)" >&2; exit 1; }
  done
}

last_report_line() { tr -d '\r' <"$WORK/report.txt" | tail -n 1; }

for example in 1 2; do
  fresh_workstation
  run configure /s "C:\\export\\example$example.ini"
  state "$WORK/first"
  run export /export 'C:\export\exported.ini'
  grep -q '^\[KonfigNovera\]' <(tr -d '\r' <"$WORK/exported.ini") || { echo "no main section" >&2; exit 1; }
  run plan /s 'C:\export\exported.ini' /plan
  [ "$(last_report_line)" = "Konfiguracja niczego by nie zmieniła." ] ||
    { echo "example $example: /plan on the exported workstation finds changes" >&2; cat "$WORK/report.txt" >&2; exit 1; }
  state "$WORK/planned"
  same_state "$WORK/first" "$WORK/planned" "example $example: /plan on the first workstation wrote"

  fresh_workstation
  state "$WORK/fresh"
  run plan /s 'C:\export\exported.ini' /plan
  state "$WORK/planned"
  same_state "$WORK/fresh" "$WORK/planned" "example $example: /plan on the second workstation wrote"
  last_report_line | grep -q '^Do zmiany: ' ||
    { echo "example $example: /plan on a fresh workstation finds nothing" >&2; cat "$WORK/report.txt" >&2; exit 1; }
  run configure /s 'C:\export\exported.ini'
  state "$WORK/second"
  same_state "$WORK/first" "$WORK/second" "example $example: the second workstation"
  rm -rf "$WORK/first" "$WORK/second" "$WORK/fresh" "$WORK/planned"
done
