#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite:
#  1. every test under AddressSanitizer + UndefinedBehaviorSanitizer,
#  2. the concurrency tests under ThreadSanitizer,
#  3. a short libFuzzer run of each fuzz target (FUZZ_SECONDS, default 60).
# Private X, PulseAudio and D-Bus servers are started for the tests and
# stopped afterwards.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
JOBS=$(nproc)
FUZZ_SECONDS=${FUZZ_SECONDS:-60}
"$ROOT/scripts/deps.sh"

echo "== build (ASan+UBSan)"
"$ROOT/scripts/build.sh" "$ROOT/build-asan" -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DKOVRIN_SANITIZE=address -DKOVRIN_BUILD_BENCH=OFF

echo "== build (TSan, concurrency tests)"
KOVRIN_BUILD_TARGETS=concurrency_tests "$ROOT/scripts/build.sh" "$ROOT/build-tsan" \
  -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DKOVRIN_SANITIZE=thread \
  -DKOVRIN_CONCURRENCY_TESTS_ONLY=ON -DKOVRIN_BUILD_BENCH=OFF

echo "== build (libFuzzer)"
KOVRIN_BUILD_TARGETS=fuzz_targets "$ROOT/scripts/build.sh" "$ROOT/build-fuzz" \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DKOVRIN_BUILD_FUZZ=ON -DKOVRIN_BUILD_TESTS=OFF \
  -DKOVRIN_BUILD_BENCH=OFF

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1

run_all() {
  echo "== tests (ASan+UBSan)"
  ctest --test-dir "$ROOT/build-asan" --output-on-failure -j "$JOBS"
  echo "== tests (TSan)"
  ctest --test-dir "$ROOT/build-tsan" --output-on-failure -j "$JOBS" -L concurrency
  echo "== fuzz (${FUZZ_SECONDS}s per target)"
  for f in "$ROOT"/build-fuzz/fuzz/fuzz_*; do
    [ -x "$f" ] || continue
    name=$(basename "$f")
    corpus=$(mktemp -d)
    cp -r "$ROOT/fuzz/corpus/${name#fuzz_}/." "$corpus/" 2>/dev/null || true
    "$f" -max_total_time="$FUZZ_SECONDS" -max_len=65536 -rss_limit_mb=4096 \
      -print_final_stats=1 "$corpus" 2>&1 | tail -n 15
    rm -rf "$corpus"
  done
}
export -f run_all
export ROOT JOBS FUZZ_SECONDS
"$ROOT/scripts/with-services.sh" bash -c run_all
echo "== all tests passed"
