#!/usr/bin/env bash
# Builds the sanitizer build (build/sanitize, clang with AddressSanitizer,
# UndefinedBehaviorSanitizer and libFuzzer) and runs every fuzz target, or
# the ones named, for SECONDS each (default 30). Each target starts from its
# seeds in tests/fuzz/corpus/<target> and keeps what it learns in
# build/fuzz-corpus/<target>. Any crash, leak or sanitizer report fails the
# run; the input that caused it is left in build/fuzz-findings/.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET ...]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
SECONDS_EACH=${1:-30}
shift || true

"$ROOT/scripts/build-sanitize.sh"
BUILD="$ROOT/build/sanitize"
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for seeds in "$ROOT"/tests/fuzz/corpus/*/; do targets+=("$(basename "$seeds")"); done
fi

mkdir -p "$ROOT/build/fuzz-findings"
printf '%-16s %12s %8s %s\n' target executions seconds result
for target in "${targets[@]}"; do
  corpus="$ROOT/build/fuzz-corpus/$target"
  mkdir -p "$corpus"
  log="$ROOT/build/fuzz-$target.log"
  result=clean
  "$BUILD/tests/fuzz/fuzz_$target" -max_total_time="$SECONDS_EACH" -print_final_stats=1 \
      -artifact_prefix="$ROOT/build/fuzz-findings/$target-" -max_len=65536 \
      "$corpus" "$ROOT/tests/fuzz/corpus/$target" >"$log" 2>&1 || result="FAILED (see $log)"
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  took=$(sed -n 's/^Done \([0-9]*\) runs in \([0-9]*\) second.*/\2/p' "$log" | tail -1)
  printf '%-16s %12s %8s %s\n' "$target" "${runs:-?}" "${took:-$SECONDS_EACH}" "$result"
  [ "$result" = clean ] || exit 1
done
