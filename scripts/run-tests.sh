#!/usr/bin/env bash
# Runs every test of the Windows build folder (make test). CTest shows the
# output of failed tests only; after its summary this says why each test
# that did not run was left out, and which fixtures the test session could
# not make.
#   run-tests.sh WIN_BUILD_DIR JOBS [CTEST ARGS...]
set -u
here="$(cd "$(dirname "$0")" && pwd)"
cd "$1" || exit 1
jobs="$2"
shift 2
. "$here/machine-probe.sh"
if norvu_wine_needs_machine; then
  echo "The tests under Wine run in the emulated machine (README, \"Where Wine runs\")."
fi
# The test session stops the emulated machine at its end; an interrupted run
# stops it here.
trap '"$here/emulated-machine.sh" stop "$PWD"' EXIT
# Skipped tests count as passed for the output CTest keeps: keep enough of
# theirs for the reason.
ctest --output-on-failure -j "$jobs" --test-output-size-passed 65536 "$@"
status=$?
reasons=$(tr -d '\r' <Testing/Temporary/LastTest.log 2>/dev/null | grep -e '^not run: ' -e '^test session: could not make ' | awk '!seen[$0]++')
if [ -n "$reasons" ]; then
  echo
  echo "Why tests did not run:"
  echo "$reasons" | sed 's/^/  /'
fi
exit $status
