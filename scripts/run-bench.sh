#!/usr/bin/env bash
# Builds and runs every benchmark, each beside its reference measured in the same run:
# editFixed against std::to_chars, reading a deck of ten 100 MiB heading lines against a plain
# 64 KiB read loop (with the reader's peak memory), a whole run against a process that does
# nothing. Needs about 1 GiB free in /tmp for the big deck.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset bench >/dev/null
cmake --build --preset bench
build/bench/tools/bench/korv_bench "$@"
rm -f /tmp/korv-bench-big-deck.tsk
