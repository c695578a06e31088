#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, inside the test session
# that scripts/test-session.sh started: wine-run.sh BUILD_DIR PROGRAM [ARGS...]
build="$1"; shift
session="$build/test-session"
export NORVU_PREFIX="$build/wine-prefix"
. "$(dirname "$0")/wine-env.sh"
if [ -f "$session/display" ]; then
  export DISPLAY="$(cat "$session/display")"
fi
exec wine "$@"
