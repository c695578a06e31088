#!/usr/bin/env bash
# Prints the installer's size and its stub: setup.exe without the product's
# content that it carries (the payload resources FILE0-FILE6, the side-panel
# picture and the string table block that holds the licence text), measured
# as those resources are stored in the program, and without the signature
# of a signed build. Fails at or above the 31 KB budget (31,744 bytes).
set -eu
build="${1:-build}"
exe="$build/setup.exe"
budget=$((31 * 1024))
[ -f "$exe" ] || { echo "no $exe: run make first"; exit 1; }

# Every resource of the program: "type name address size".
resources=$(bash "$(dirname "$0")/pe-resources.sh" "$exe")

# Total size of the resources whose type and name match the patterns.
measure() {  # type-pattern name-pattern
  local total=0 type name address size
  while read -r type name address size; do
    [[ $type == $1 && $name == $2 ]] && total=$((total + size))
  done <<<"$resources"
  echo "$total"
}

total=$(stat -c %s "$exe")
payload=$(measure 0x00000a 'FILE[0-6]')
picture=$(measure 0x000002 IDB_KOSMAR)
# String 189 is the licence; strings are stored in blocks of 16, 189 in
# block 189 / 16 + 1 = 12.
licence=$(measure 0x000006 0x00000c)
# The certificate table (data directory entry 4) of a signed build.
signature=$((0x$(i686-w64-mingw32-objdump -p "$exe" | awk '/^Entry 4 / {print $4}')))
code=$(i686-w64-mingw32-size -A "$exe" | awk '$1==".text"||$1==".rdata"||$1==".data" {s+=$2} END {print s}')
stub=$((total - payload - picture - licence - signature))
printf '%-46s %9d bytes\n' "setup.exe" "$total"
printf '%-46s %9d bytes\n' "  payload resources (FILE0-FILE6)" "$payload"
printf '%-46s %9d bytes\n' "  side-panel picture (IDB_KOSMAR)" "$picture"
printf '%-46s %9d bytes\n' "  licence text (string table block 12)" "$licence"
[ "$signature" -gt 0 ] && printf '%-46s %9d bytes\n' "  signature (certificate table)" "$signature"
printf '%-46s %9d bytes (%d KB, budget %d KB)\n' "stub: setup.exe without these" "$stub" \
  $(((stub + 1023) / 1024)) $((budget / 1024))
printf '%-46s %9d bytes\n' "code and data (.text .rdata .data)" "$code"
[ "$payload" -gt 0 ] && [ "$picture" -gt 0 ] && [ "$licence" -gt 0 ] || { echo "a product resource is missing"; exit 1; }
[ "$stub" -lt "$budget" ] || { echo "over the $((budget / 1024)) KB budget"; exit 1; }
