#!/usr/bin/env bash
# Checks that each program carries the given link time stamp (the PE file
# header's TimeDateStamp), the fixed one that makes builds reproducible.
#   check-timestamps.sh STAMP PROGRAM...
set -u
want="$1"; shift
fail=0
for exe in "$@"; do
  header=$(od -An -tu4 -j60 -N4 "$exe" | tr -d ' ')  # e_lfanew: where "PE\0\0" starts
  stamp=$(od -An -tu4 -j$((header + 8)) -N4 "$exe" | tr -d ' ')
  if [ "$stamp" = "$want" ]; then
    echo "$(basename "$exe"): time stamp $stamp"
  else
    echo "FAIL: $(basename "$exe"): time stamp $stamp, not $want"
    fail=1
  fi
done
exit $fail
