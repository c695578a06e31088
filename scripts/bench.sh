#!/usr/bin/env bash
# Runs every benchmark (scripts/bench-*.sh) against one build folder:
#   bench.sh [BUILD]     BUILD defaults to $BUILD, then to ./build
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-${BUILD:-$here/../build}}
build=$(cd "$build" && pwd)
status=0
for bench in "$here"/bench-*.sh; do
  [ -e "$bench" ] || continue
  echo "== $(basename "$bench") $build"
  bash "$bench" "$build" || status=1
done
exit $status
