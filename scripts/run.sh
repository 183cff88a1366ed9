#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program from the build tree.
# Arguments are passed to the program.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
"$ROOT/scripts/deps.sh"
"$ROOT/scripts/build.sh" "$ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKOVRIN_BUILD_TESTS=OFF -DKOVRIN_BUILD_BENCH=OFF
exec "$ROOT/build/bin/kovrin" "$@"
