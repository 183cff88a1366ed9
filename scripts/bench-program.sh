#!/usr/bin/env bash
# bench-program.sh [RUNS] [IDLE_SECONDS]: builds a Release tree in
# build-release/ and measures the windowed program from outside with
# bench_program, once plain and once against a simulated keyboard: time from
# exec to the first painted frame (RUNS starts, default 5), memory with the
# window open, and CPU use and wake-ups per thread over IDLE_SECONDS idle
# (default 60). Runs under a private X server with a temporary HOME.
#
#   scripts/bench-program.sh          # about 2.5 minutes
#   scripts/bench-program.sh 3 10     # quick look
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
RUNS=${1:-5}
IDLE=${2:-60}
BUILD=$ROOT/build-release

KOVRIN_BUILD_TARGETS="kovrin kovrinctl bench_program" "$ROOT/scripts/build.sh" "$BUILD" \
  -DCMAKE_BUILD_TYPE=Release -DKOVRIN_BUILD_TESTS=OFF

measure() {
  # with-services.sh gives each run its own HOME and XDG folders.
  "$ROOT/scripts/with-services.sh" "$BUILD/bench/bench_program" --runs "$RUNS" --idle "$IDLE" \
    "$BUILD/bin/kovrin" "$@"
}
echo "== plain start"
measure
echo
echo "== simulated keyboard"
measure --simulate "Kovrin Bolt 104"
