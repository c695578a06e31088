#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, inside the test session
# that scripts/test-session.sh started: wine-run.sh BUILD_DIR PROGRAM [ARGS...]
build="$1"; shift
session="$build/test-session"
export NORVU_PREFIX="$build/wine-prefix"
. "$(dirname "$0")/wine-env.sh"
# No Wine session on this machine: exit 77, which CTest shows as not run.
if [ -f "$session/unavailable" ]; then
  echo "not run: every test under Wine: $(cat "$session/unavailable")"
  exit 77
fi
if [ -f "$session/display" ]; then
  export DISPLAY="$(cat "$session/display")"
fi
exec wine "$@"
