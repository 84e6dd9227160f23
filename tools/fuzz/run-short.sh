#!/usr/bin/env bash
# Builds the fuzz targets and runs each for a short while from the seed corpora.
# A long run: FUZZ_SECONDS=3600 bash tools/fuzz/run-short.sh
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds="${FUZZ_SECONDS:-30}"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
work="build/fuzz/corpus"
mkdir -p "$work/deck" "$work/edit"
cp examples/*/KORVENTAPSILUM.TSK tools/fuzz/seeds/deck/* "$work/deck/" 2>/dev/null || true
cp tools/fuzz/seeds/edit/* "$work/edit/" 2>/dev/null || true
for target in deck edit; do
  echo "-- fuzz_$target for ${seconds}s"
  "build/fuzz/tools/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix="build/fuzz/fuzz_$target-" "$work/$target" 2>&1 | tail -n 15
done
