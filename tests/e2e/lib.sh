# Shared by the end-to-end scripts: $1 is KonfigNovera.exe, $2 the driver.
set -euo pipefail

WIZARD_EXE=$1
DRIVER_EXE=$2
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# shellcheck source=../../scripts/wine-env.sh
source "$ROOT/scripts/wine-env.sh"
: "${WINEPREFIX:=$ROOT/build/$(prefix_name wine-test)}"
export WINEPREFIX
ensure_wine_prefix
ensure_display

SETTINGS_KEY='HKCU\software\Novera\KonfigNovera'
WIZARD_PID=

driver() { wine "$DRIVER_EXE" "$@"; }

start_wizard() {
  wine "$WIZARD_EXE" &
  WIZARD_PID=$!
  driver wait
}

stop_wizard() {
  if [ -n "$WIZARD_PID" ]; then
    driver close || kill "$WIZARD_PID" 2>/dev/null || true
    wait "$WIZARD_PID" 2>/dev/null || true
    WIZARD_PID=
  fi
}
trap 'stop_wizard; stop_display' EXIT

reset_settings() { wine reg delete "$SETTINGS_KEY" /f >/dev/null 2>&1 || true; }

store_settings() {
  wine reg add "$SETTINGS_KEY" /v Server /t REG_DWORD /d "$1" /f >/dev/null
  wine reg add "$SETTINGS_KEY" /v Wersja /t REG_DWORD /d "$2" /f >/dev/null
}

# The stored DWORD as a decimal number, or "missing".
stored_setting() {
  local line
  line=$(wine reg query "$SETTINGS_KEY" /v "$1" 2>/dev/null | tr -d '\r' | grep -i "REG_DWORD" || true)
  if [ -z "$line" ]; then echo missing; return; fi
  echo $(( $(awk '{print $3}' <<<"$line") ))
}

expect_setting() {
  local actual
  actual=$(stored_setting "$1")
  if [ "$actual" != "$2" ]; then
    echo "setting $1: expected $2, found $actual" >&2
    exit 1
  fi
}

# expect_buttons "-D-": "< Wstecz", "Dalej >", "Wykonaj" enabled or not;
# the status page's "OK" is out of reach on every wizard page.
expect_buttons() {
  driver expect ButtonWstecz enabled "$([ "${1:0:1}" = W ] && echo 1 || echo 0)" \
         expect ButtonDalej enabled "$([ "${1:1:1}" = D ] && echo 1 || echo 0)" \
         expect ButtonWykonaj enabled "$([ "${1:2:1}" = X ] && echo 1 || echo 0)" \
         expect Button1 visible 0
}

# A string value from the 32-bit view, or "missing".
reg_value() {
  local line
  line=$(wine reg query "$1" /v "$2" /reg:32 2>/dev/null | tr -d '\r' | grep -E "REG_(EXPAND_)?SZ" || true)
  if [ -z "$line" ]; then echo missing; return; fi
  sed -E 's/^.*REG_(EXPAND_)?SZ {4}//' <<<"$line"
}

expect_reg() {
  local actual
  actual=$(reg_value "$1" "$2")
  if [ "$actual" != "$3" ]; then
    echo "$1 $2: expected \"$3\", found \"$actual\"" >&2
    exit 1
  fi
}

# The wizard must end by itself, as "OK" on the status page makes it.
expect_wizard_exit() {
  local tries
  for tries in $(seq 100); do
    kill -0 "$WIZARD_PID" 2>/dev/null || { wait "$WIZARD_PID" || true; WIZARD_PID=; return; }
    sleep 0.1
  done
  echo "the wizard did not end" >&2
  exit 1
}

# A control's text, line by line, against the expected lines.
expect_lines() {
  local name=$1
  shift
  if ! diff <(printf '%s\n' "$@") <(driver print "$name" | tr -d '\r') >&2; then
    echo "$name: lines differ (expected < > found)" >&2
    exit 1
  fi
}

# The report lines of a first run that creates the eight aliases of version 11.
CREATED_ALIASES=()
for module in Ochrona LM 'LM- Faktury' 'LM- Magistr' 'LM- Odbiorcy' 'LM- Odczyty' 'LM- Archiwum' 'LM- Liczniki'; do
  CREATED_ALIASES+=("  Utworzono alias \"X Novera- $module\".")
done

# An older file-based alias "Novera- LM" that "Wykonaj" brings forward as
# "Novera- Net"; written into the engine's configuration file $1.
seed_file_based_alias() {
  mkdir -p "$(dirname "$1")"
  printf '%s\r\n' 'KonfigNovera BDE 1' '' 'ALIAS Novera- LM' 'DRIVER STANDARD' 'PARAM PATH=C:\Novera\Dane' \
         'PARAM DEFAULT DRIVER=DBASE' 'END' >"$1"
}

# The engine's configuration file $1 holds "Novera- Net" as a STANDARD alias
# with the path and default driver of the old alias.
expect_net_alias() {
  local block line
  block=$(tr -d '\r' <"$1" | sed -n '/^ALIAS Novera- Net$/,/^END$/p')
  for line in 'DRIVER STANDARD' 'PARAM PATH=C:\Novera\Dane' 'PARAM DEFAULT DRIVER=DBASE'; do
    grep -qxF "$line" <<<"$block" || { echo "the alias \"Novera- Net\" lacks: $line" >&2; exit 1; }
  done
}

# The sample workstation of scripts/seed-workstation.sh (an installed BDE,
# the SQL Server driver, an Oracle client), for the tests that seed it
# afresh: they take it away at the end, as the others expect no installed
# BDE.
SAMPLE_BDE_DIR="$WINEPREFIX/drive_c/Program Files/Common Files/Borland Shared/BDE"
SAMPLE_ADMIN="$WINEPREFIX/drive_c/oracle/client/NETWORK/ADMIN"
remove_sample() {
  wine reg delete 'HKLM\SOFTWARE\ORACLE' /f /reg:32 >/dev/null 2>&1 || true
  wine reg delete 'HKLM\SOFTWARE\ODBC' /f /reg:32 >/dev/null 2>&1 || true
  wine reg delete 'HKLM\SOFTWARE\Borland' /f /reg:32 >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX/drive_c/oracle/client" "$SAMPLE_BDE_DIR" "$WINEPREFIX"/.konfignovera-seeded-*
  wineserver -w
}
