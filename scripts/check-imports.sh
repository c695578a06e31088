#!/usr/bin/env bash
# Checks that an executable is a 32-bit GUI program importing only KnownDLLs:
# the system libraries that Windows always takes from its own folder, never
# from the program's folder, where a planted DLL of the same name would be
# loaded instead.
set -u
exe="$1"
allowed="kernel32.dll user32.dll gdi32.dll advapi32.dll ole32.dll shell32.dll msvcrt.dll comdlg32.dll shlwapi.dll oleaut32.dll"
dump=$(i686-w64-mingw32-objdump -p "$exe") || { echo "cannot read $exe"; exit 1; }
fail=0
grep -q 'file format pei-i386' <<<"$dump" || { echo "not a PE32 i386 file"; fail=1; }
grep -Eq '^Subsystem[[:space:]]+00000002' <<<"$dump" || { echo "not a GUI subsystem program"; fail=1; }
for dll in $(awk '/DLL Name:/ {print tolower($3)}' <<<"$dump"); do
  case " $allowed " in
    *" $dll "*) echo "imports $dll" ;;
    *) echo "FORBIDDEN import: $dll"; fail=1 ;;
  esac
done
[ $fail -eq 0 ] && echo "imports: only KnownDLLs"
exit $fail
