#!/usr/bin/env bash
# build.sh DIR [cmake options...]: configures (once) and builds one build tree.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
DIR=$1; shift
if [ ! -f "$DIR/build.ninja" ]; then
  cmake -S "$ROOT" -B "$DIR" -G Ninja "$@"
fi
cmake --build "$DIR" ${KOVRIN_BUILD_TARGETS:+--target $KOVRIN_BUILD_TARGETS}
