#!/usr/bin/env bash
# Checks the manifest that a program of ours carries as resource type 24,
# id 1: well-formed XML that asks to run as administrator (level
# requireAdministrator, uiAccess false, where Windows reads it) and says
# nothing of Common Controls 6 or of DPI awareness.
#   check-manifest.sh PROGRAM...
set -u
fail=0
problem() { echo "FAIL: $1: $2"; fail=1; bad=1; }
# The element path from the root, each step by local name and namespace.
privileges="/*[local-name()='assembly' and namespace-uri()='urn:schemas-microsoft-com:asm.v1']"
privileges+="/*[local-name()='trustInfo' and namespace-uri()='urn:schemas-microsoft-com:asm.v3']"
privileges+="/*[local-name()='security']/*[local-name()='requestedPrivileges']"
level="$privileges/*[local-name()='requestedExecutionLevel']"

for exe in "$@"; do
  bad=0
  # The resource of type 24 (0x18), name 1.
  manifest=$(bash "$(dirname "$0")/pe-resources.sh" "$exe" 0x000018 0x000001) ||
    { problem "$exe" "no manifest (resource type 24, id 1)"; continue; }
  xmllint --noout - <<<"$manifest" || { problem "$exe" "the manifest is not well-formed XML"; continue; }
  asked=$(xmllint --xpath "concat(string($level/@level), ' ', string($level/@uiAccess))" - <<<"$manifest")
  [ "$asked" = "requireAdministrator false" ] || problem "$exe" "asks for '$asked', not 'requireAdministrator false'"
  grep -qi "common-controls" <<<"$manifest" && problem "$exe" "depends on Common Controls"
  grep -qi "dpiaware" <<<"$manifest" && problem "$exe" "says something of DPI awareness"
  [ $bad -eq 0 ] && echo "$exe: requireAdministrator, uiAccess false, nothing else"
done
exit $fail
