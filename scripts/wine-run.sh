#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, inside the test session
# that scripts/test-session.sh started, here or in the emulated machine:
#   wine-run.sh BUILD_DIR PROGRAM [ARGS...]
build="$1"; shift
session="$build/test-session"
export NORVU_PREFIX="$build/wine-prefix"
. "$(dirname "$0")/wine-env.sh"
# A session in the emulated machine: the program runs there.
if [ -f "$session/in-machine" ] && [ -z "${NORVU_IN_MACHINE:-}" ]; then
  exec "$(dirname "$0")/emulated-machine.sh" run "$build" "$0" "$build" "$@"
fi
if [ -f "$session/display" ]; then
  export DISPLAY="$(cat "$session/display")"
fi
exec wine "$@"
