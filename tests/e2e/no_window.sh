# Each failure nobody foresaw ends a run with nobody at the screen with exit
# code 1 and its description, and never with a window: a dialog would hold
# the process until the timeout. $3 is the crash probe.
source "$(dirname "$0")/lib.sh"
PROBE=$3
WORK="$WINEPREFIX/drive_c/no_window"
trap 'rm -rf "$WORK"; stop_display' EXIT
mkdir -p "$WORK"

expect_end() {  # FAULT TEXT
  rm -f "$WORK/last.txt"
  set +e
  timeout 60 wine "$PROBE" "$1" 'C:\no_window\last.txt' >/dev/null 2>&1
  local code=$?
  set -e
  wineserver -w
  [ "$code" = 1 ] || { echo "$1: exit code $code, expected 1" >&2; exit 1; }
  grep -qF "$2" "$WORK/last.txt" || { echo "$1: the last words lack \"$2\": $(cat "$WORK/last.txt" 2>&1)" >&2; exit 1; }
}

expect_end access 'wyjątek systemowy 0xC0000005'
expect_end throw 'nieobsłużony wyjątek: nie przewidziano'
expect_end thread 'nieobsłużony wyjątek: w wątku'
expect_end abort 'przerwanie programu (abort)'
