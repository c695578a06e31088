#!/usr/bin/env bash
# The job of make test-emulated, inside the emulated machine: every test
# that runs under Wine, with the test session they share. The host has run
# the rest, and made the signed build that group_e2e_signed installs.
#   emulated-tests.sh WIN_BUILD_DIR JOBS
cd "$1" || exit 1
ctest --output-on-failure -j "$2" -R 'wine_session|_windows|win_tests|driver_tests|_e2e|lz32' \
  -FS signed_installer --test-output-size-passed 65536
status=$?
tr -d '\r' <Testing/Temporary/LastTest.log | grep -e '^not run: ' -e '^test session: could not make ' | awk '!seen[$0]++'
exit $status
