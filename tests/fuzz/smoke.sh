#!/usr/bin/env bash
# A short run of every fuzz target from its seed corpus: about a minute in all. Fails when a
# target finds a crash, a sanitizer report or a broken invariant; the input that did it is
# kept beside the build as <target>-crash-*.
#   bash tests/fuzz/smoke.sh [BUILD_DIR] [SECONDS_EACH]
set -euo pipefail
cd "$(dirname "$0")/../.."

build=${1:-build/fuzz}
seconds=${2:-20}
corpus=tests/fuzz/corpus
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

status=0
for target in fuzz_expand fuzz_text fuzz_watch; do
  # New inputs go to a scratch folder, so the seed corpus stays as committed.
  mkdir -p "$work/$target"
  log="$work/$target.log"
  if "$build/tests/fuzz/$target" "$work/$target" "$corpus/$target" \
      -max_total_time="$seconds" -max_len=1100 -timeout=30 -print_final_stats=1 \
      -artifact_prefix="$build/$target-" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "$target: $runs runs in ${seconds} s, nothing found"
  else
    echo "$target: FAILED"
    grep -E 'invariant broken|promise broken|list fault|ERROR: |SUMMARY|Test unit written' "$log" || tail -n 40 "$log"
    status=1
  fi
done
exit "$status"
