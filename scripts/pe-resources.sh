#!/usr/bin/env bash
# Lists the resources of a PE program, one a line: "type name address size",
# type and numeric names in hex as objdump shows them (0x000018), a string
# name as it is (IDB_KOSMAR), the address relative to the image base.
#   pe-resources.sh PROGRAM
set -eu
i686-w64-mingw32-objdump -p "$1" | awk '
  /^[0-9a-f]+   Entry: ID:/ { type = $4; sub(/,$/, "", type) }
  /^[0-9a-f]+     Entry: name:/ { name = $0; sub(/.*\]: /, "", name); sub(/,.*/, "", name) }
  /^[0-9a-f]+     Entry: ID:/ { name = $4; sub(/,$/, "", name) }
  /Leaf: Addr:/ { addr = $4; size = $6; sub(/,$/, "", addr); sub(/,$/, "", size); print type, name, addr, size }'
