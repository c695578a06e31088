#!/usr/bin/env bash
# Checks the product files that the build made and their compressed forms:
#   check_payload.sh PAYLOADGEN PAYLOAD_DIR GENERATED_DIR CHECK_IMPORTS
# - payload/ holds exactly the seven files, below the installer's space limit;
# - payloadgen makes the same data files on every run;
# - the three programs import only system DLLs;
# - each compressed file is there, with the SZDD header holding the installed
#   name's last character and size, and the help file's compressed form is
#   larger than the file itself.
set -u
payloadgen="$1"; payload="$2"; generated="$3"; check_imports="$4"
fail=0
problem() { echo "FAIL: $*"; fail=1; }

installed=(norvu.exe norvu.cfg nvuhelp.hlp ferrox.dll nvustart.kbm notice.wri unsetup.exe)
compressed=(norvu.ex_ norvu.cf_ nvuhelp.hl_ ferrox.dl_ nvustart.kb_ notice.wr_ unsetu~1.ex_)
size() { stat -c %s "$1"; }

present=$(cd "$payload" && ls -A | sort | tr '\n' ' ')
wanted=$(printf '%s\n' "${installed[@]}" | sort | tr '\n' ' ')
[ "$present" = "$wanted" ] || problem "payload/ holds '$present', not '$wanted'"

total=0
for name in "${installed[@]}"; do
  [ -f "$payload/$name" ] && total=$((total + $(size "$payload/$name")))
done
echo "expanded total: $total bytes"
[ "$total" -lt 1400000 ] || problem "the seven files take $total bytes, not below 1,400,000"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/a" "$work/b"
"$payloadgen" "$work/a" && "$payloadgen" "$work/b" || problem "payloadgen failed"
for name in norvu.cfg nvuhelp.hlp nvustart.kbm notice.wri; do
  cmp -s "$work/a/$name" "$work/b/$name" || problem "$name differs between two runs of payloadgen"
  cmp -s "$work/a/$name" "$payload/$name" || problem "$name differs from the one the build made"
done

for name in norvu.exe ferrox.dll unsetup.exe; do
  "$check_imports" "$payload/$name" >"$work/imports" || { cat "$work/imports"; problem "$name imports"; }
done

for i in "${!installed[@]}"; do
  file="$generated/${compressed[$i]}"
  name="${installed[$i]}"
  [ -f "$file" ] || { problem "${compressed[$i]} is missing"; continue; }
  magic=$(od -An -tx1 -N10 "$file" | tr -d ' \n')
  want="535a444488f0273341$(printf '%s' "${name: -1}" | od -An -tx1 | tr -d ' \n')"
  [ "$magic" = "$want" ] || problem "${compressed[$i]} header $magic, expected $want"
  length=$(od -An -tu4 -j10 -N4 "$file" | tr -d ' ')
  [ "$length" = "$(size "$payload/$name")" ] || problem "${compressed[$i]} records $length bytes, $name has $(size "$payload/$name")"
done
if [ -f "$payload/nvuhelp.hlp" ] && [ -f "$generated/nvuhelp.hl_" ]; then
  help=$(size "$payload/nvuhelp.hlp"); packed=$(size "$generated/nvuhelp.hl_")
  echo "nvuhelp.hlp: $help bytes, compressed $packed"
  [ "$packed" -gt "$help" ] || problem "nvuhelp.hl_ ($packed) is not larger than nvuhelp.hlp ($help)"
fi
[ $fail -eq 0 ] && echo "payload: all checks passed"
exit $fail
