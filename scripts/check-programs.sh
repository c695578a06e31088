#!/usr/bin/env bash
# Checks what each program we ship says of itself in its PE headers and its
# version resource:
# - hardened: a relocation table that is there (the file header does not
#   say it was stripped) with a fixup for every address that an instruction
#   (the last one too) or the data holds; DYNAMIC_BASE, NX_COMPAT and
#   NO_SEH; no section both writable and executable, or shared and
#   writable; and no code that links a handler into the exception chain
#   at %fs:0, which NO_SEH would keep the system from calling;
# - one version: its version resource gives VERSION (major.minor) as the
#   fixed file and product version (VERSION.0.0) and as the text of
#   FileVersion and ProductVersion.
#   check-programs.sh VERSION PROGRAM...
set -u
want="$1"; shift
fail=0
problem() { echo "FAIL: $name: $1"; fail=1; bad=1; }
u16() { od -An -tu2 -j"$2" -N2 "$1" | tr -d ' '; }
u32() { od -An -tu4 -j"$2" -N4 "$1" | tr -d ' '; }

for exe in "$@"; do
  name=$(basename "$exe"); bad=0
  pe=$(u32 "$exe" 60)                 # e_lfanew: where "PE\0\0" starts
  sections=$(u16 "$exe" $((pe + 6)))
  optional=$((pe + 24)); optional_size=$(u16 "$exe" $((pe + 20)))
  (( $(u16 "$exe" $((pe + 22))) & 0x0001 )) && problem "relocations stripped"
  [ "$(u32 "$exe" $((optional + 140)))" -gt 8 ] || problem "no relocation table, or an empty one"
  dll=$(u16 "$exe" $((optional + 70)))
  for flag in DYNAMIC_BASE:0x40 NX_COMPAT:0x100 NO_SEH:0x400; do
    (( dll & ${flag#*:} )) || problem "not marked ${flag%:*}"
  done
  base=$(u32 "$exe" $((optional + 28)))
  ranges=""; words=""
  for ((i = 0; i < sections; i++)); do
    at=$((optional + optional_size + 40 * i))
    section=$(dd if="$exe" bs=1 skip="$at" count=8 2>/dev/null | tr -d '\0')
    flags=$(u32 "$exe" $((at + 36)))
    (( flags & 0x80000000 && flags & 0x20000000 )) && problem "section $section is writable and executable"
    (( flags & 0x80000000 && flags & 0x10000000 )) && problem "section $section is shared and writable"
    # Where an address may point: the code and data, not the resources or
    # the relocation table (whose pictures and text would read as such).
    [ "$section" = .rsrc ] || [ "$section" = .reloc ] && continue
    va=$((base + $(u32 "$exe" $((at + 12))))) virtual=$(u32 "$exe" $((at + 8))) raw=$(u32 "$exe" $((at + 16)))
    ranges+="T $va $((va + virtual))"$'\n'
    # The words of initialized data that is not code, as "D address value".
    (( flags & 0x40 && !(flags & 0x20000000) )) || continue
    words+=$(od -An -v -tu4 -w4 -j "$(u32 "$exe" $((at + 20)))" -N $((virtual < raw ? virtual : raw)) "$exe" |
      awk -v at="$va" '{print "D", at + 4 * (NR - 1), $1}')$'\n'
  done
  code=$(i686-w64-mingw32-objdump -d --insn-width=16 "$exe" | grep -E '^ *[0-9a-f]+:\s')
  grep -qE ',%fs:(0x0)?$' <<<"$code" && problem "writes the exception chain at %fs:0"
  # Every address that the program holds, in an instruction or in its data
  # (the message maps are tables of function pointers), has a fixup in the
  # relocation table, so that it still holds once the program is moved.
  unfixed=$({ i686-w64-mingw32-objdump -p "$exe" | awk '/HIGHLOW/ {print "R", $5}'; echo "$ranges$words$code"; } |
    awk -v base="$base" '
    function hex(s,   i, n) { sub(/^0x/, "", s); for (i = 1; i <= length(s); i++) n = n * 16 + index("0123456789abcdef", substr(s, i, 1)) - 1; return n }
    function address(v,   r) { for (r = 1; r <= ranges; r++) if (v >= low[r] && v < high[r]) return 1; return 0 }
    function fixed(at, after,   k) { for (k = at; k < after; k++) if (k in fixup) return 1; return 0 }
    $1 == "R" { gsub(/[][]/, "", $2); fixup[hex($2) + base] = 1; next }
    $1 == "T" { low[++ranges] = $2; high[ranges] = $3; next }
    $1 == "D" { if (address($3) && !fixed($2, $2 + 4)) printf "the data at %x\n", $2; next }
    # An instruction: "address:", its bytes, its text; relative jumps and
    # calls hold no address.
    { split($0, field, "\t"); gsub(/[ :]/, "", field[1]); at = hex(field[1]); text = field[3]
      if (text ~ /^(j[a-z]*|call[a-z]*|loop[a-z]*)[ \t]+0x/) next
      after = at + split(field[2], bytes, " ")
      while (match(text, /0x[0-9a-f]+/)) {
        v = hex(substr(text, RSTART, RLENGTH)); text = substr(text, RSTART + RLENGTH)
        if (address(v) && !fixed(at, after)) printf "the code at %x\n", at
      }
    }')
  [ -z "$unfixed" ] ||
    problem "no fixup for $(wc -l <<<"$unfixed") addresses held in the code or data (the first in ${unfixed%%$'\n'*})"

  # The version resource: type 16, the first of the four that has one.
  read -r rva size < <(bash "$(dirname "$0")/pe-resources.sh" "$exe" | awk '$1 == "0x000010" {print $3, $4; exit}')
  if [ -z "${rva:-}" ]; then
    problem "no version resource"
  else
    read -r vma offset < <(i686-w64-mingw32-objdump -h "$exe" | awk '$2 == ".rsrc" {print $4, $6}')
    start=$((base + rva - 0x$vma + 0x$offset))
    resource=$(mktemp); dd if="$exe" of="$resource" bs=1 skip="$start" count=$((size)) 2>/dev/null
    # VS_FIXEDFILEINFO follows the key "VS_VERSION_INFO" at offset 40:
    # signature, structure version, then file and product version, each
    # as major<<16|minor, build<<16|revision.
    major=${want%%.*}; minor=${want#*.}
    fixed="$(u32 "$resource" 40) $(u32 "$resource" 48) $(u32 "$resource" 52) $(u32 "$resource" 56) $(u32 "$resource" 60)"
    [ "$fixed" = "$((0xFEEF04BD)) $((major << 16 | minor)) 0 $((major << 16 | minor)) 0" ] ||
      problem "fixed version is not $want.0.0 (signature and versions: $fixed)"
    # The strings, UTF-16: each value follows its key after the padding;
    # the lengths before a key read as characters on the key's line.
    strings=$(iconv -f UTF-16LE -t UTF-8 "$resource" 2>/dev/null | tr '\0' '\n' | grep -av '^$')
    for key in FileVersion ProductVersion; do
      value=$(grep -a -A1 "$key\$" <<<"$strings" | sed -n 2p)
      [ "$value" = "$want" ] || problem "$key is '$value', not '$want'"
    done
    rm -f "$resource"
  fi
  [ $bad -eq 0 ] && echo "$name: relocatable, DYNAMIC_BASE, NX_COMPAT, NO_SEH; version $want"
done
exit $fail
