#!/usr/bin/env bash
# Lists the resources of a PE program, one a line: "type name address size",
# type and numeric names in hex as objdump shows them (0x000018), a string
# name as it is (IDB_KOSMAR), the address relative to the image base.
#   pe-resources.sh PROGRAM
# With a type and a name, writes that resource's bytes to standard output
# instead (fails when the program has no such resource):
#   pe-resources.sh PROGRAM TYPE NAME
set -eu
list() {
  i686-w64-mingw32-objdump -p "$1" | awk '
    /^[0-9a-f]+   Entry: ID:/ { type = $4; sub(/,$/, "", type) }
    /^[0-9a-f]+     Entry: name:/ { name = $0; sub(/.*\]: /, "", name); sub(/,.*/, "", name) }
    /^[0-9a-f]+     Entry: ID:/ { name = $4; sub(/,$/, "", name) }
    /Leaf: Addr:/ { addr = $4; size = $6; sub(/,$/, "", addr); sub(/,$/, "", size); print type, name, addr, size }'
}
[ $# -eq 1 ] && { list "$1"; exit; }

read -r rva size < <(list "$1" | awk -v t="$2" -v n="$3" '$1 == t && $2 == n {print $3, $4}') || true
[ -n "${rva:-}" ] || { echo "pe-resources: $1 has no resource of type $2 named $3" >&2; exit 1; }
# From the address in the image to the place in the file: through the
# resource section's address and file offset.
base=$(i686-w64-mingw32-objdump -p "$1" | awk '/^ImageBase/ {print $2}')
read -r vma offset < <(i686-w64-mingw32-objdump -h "$1" | awk '$2 == ".rsrc" {print $4, $6}')
tail -c +$((0x$base + rva - 0x$vma + 0x$offset + 1)) "$1" | head -c $((size))
