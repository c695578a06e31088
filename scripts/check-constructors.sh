#!/usr/bin/env bash
# After the link of a program whose own entry runs no static constructors
# or destructors: fails, and removes the program so that the next build
# links it again, when its link map shows one (an input section .ctors or
# .dtors: a global object with a constructor or destructor).
#   check-constructors.sh MAP PROGRAM
set -u
map="$1"; program="$2"
found=$(grep -E -A1 '^ \.(ctors|dtors)' "$map")
[ -z "$found" ] && exit 0
echo "$(basename "$program") has static constructors or destructors, which its entry never runs:" >&2
echo "$found" >&2
rm -f "$program"
exit 1
