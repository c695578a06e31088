#!/usr/bin/env bash
# Prints the installer's size, and its size without the payload and the
# side-panel picture, against the 34 KB budget.
set -eu
build="${1:-build}"
exe="$build/setup.exe"
gen="$build/win/generated"
[ -f "$exe" ] || { echo "no $exe: run make first"; exit 1; }
total=$(stat -c %s "$exe")
payload=0
for f in "$gen"/*_; do [ -f "$f" ] && payload=$((payload + $(stat -c %s "$f"))); done
picture=0
for f in "$gen"/*.bmp; do [ -f "$f" ] && picture=$((picture + $(stat -c %s "$f"))); done
code=$(i686-w64-mingw32-size -A "$exe" | awk '$1==".text"||$1==".rdata"||$1==".data" {s+=$2} END {print s}')
bare=$((total - payload - picture))
printf '%-44s %9d bytes\n' "setup.exe" "$total"
printf '%-44s %9d bytes\n' "  payload resources (FILE0-FILE6)" "$payload"
printf '%-44s %9d bytes\n' "  side-panel picture (IDB_KOSMAR)" "$picture"
printf '%-44s %9d bytes (%d KB, budget 34 KB)\n' "setup.exe without payload and picture" "$bare" $(((bare + 1023) / 1024))
printf '%-44s %9d bytes\n' "code and data (.text .rdata .data)" "$code"
[ "$bare" -lt $((34 * 1024)) ] || { echo "over the 34 KB budget"; exit 1; }
