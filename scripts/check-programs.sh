#!/usr/bin/env bash
# Checks what each program we ship says of itself in its PE headers and its
# version resource:
# - hardened: a relocation table that is there (the file header does not
#   say it was stripped) with a fixup for every address that an instruction
#   holds; DYNAMIC_BASE, NX_COMPAT and NO_SEH; no section both writable and
#   executable, or shared and writable; and no code that links a handler
#   into the exception chain at %fs:0, which NO_SEH would keep the system
#   from calling;
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
  for ((i = 0; i < sections; i++)); do
    at=$((optional + optional_size + 40 * i))
    section=$(dd if="$exe" bs=1 skip="$at" count=8 2>/dev/null | tr -d '\0')
    flags=$(u32 "$exe" $((at + 36)))
    (( flags & 0x80000000 && flags & 0x20000000 )) && problem "section $section is writable and executable"
    (( flags & 0x80000000 && flags & 0x10000000 )) && problem "section $section is shared and writable"
  done
  code=$(i686-w64-mingw32-objdump -d --no-show-raw-insn "$exe" | grep -E '^ *[0-9a-f]+:\s')
  grep -qE ',%fs:(0x0)?$' <<<"$code" && problem "writes the exception chain at %fs:0"
  # Every instruction that holds an address inside the image has a fixup
  # in the relocation table, so the code still works once moved.
  dump=$(i686-w64-mingw32-objdump -p "$exe")
  unfixed=$({ awk '/HIGHLOW/ {print "R", $5}' <<<"$dump"; echo "$code"; } | awk \
    -v base=$((0x$(awk '/^ImageBase/ {print $2}' <<<"$dump"))) -v size=$((0x$(awk '/^SizeOfImage/ {print $2}' <<<"$dump"))) '
    function hex(s,   i, n) { sub(/^0x/, "", s); for (i = 1; i <= length(s); i++) n = n * 16 + index("0123456789abcdef", substr(s, i, 1)) - 1; return n }
    function check(at, after, text,   v, k, fixed) {
      sub(/^ *[0-9a-f]+:[ \t]*/, "", text)
      if (text ~ /^(j[a-z]*|call[a-z]*|loop[a-z]*)[ \t]+0x/) return  # relative: no fixup
      while (match(text, /0x[0-9a-f]+/)) {
        v = hex(substr(text, RSTART, RLENGTH)); text = substr(text, RSTART + RLENGTH)
        if (v < base || v >= base + size) continue
        fixed = 0; for (k = at; k < after; k++) if (k in fixup) fixed = 1
        if (!fixed) print at
      }
    }
    $1 == "R" { gsub(/[][]/, "", $2); fixup[hex($2) + base] = 1; next }
    { at = hex(substr($1, 1, length($1) - 1)); if (last != "") check(last_at, at, last); last = $0; last_at = at }' | wc -l)
  [ "$unfixed" -eq 0 ] || problem "$unfixed addresses in the code have no fixup"

  # The version resource: type 16, the first of the four that has one.
  read -r rva size < <(bash "$(dirname "$0")/pe-resources.sh" "$exe" | awk '$1 == "0x000010" {print $3, $4; exit}')
  if [ -z "${rva:-}" ]; then
    problem "no version resource"
  else
    base=$(i686-w64-mingw32-objdump -p "$exe" | awk '/^ImageBase/ {print $2}')
    read -r vma offset < <(i686-w64-mingw32-objdump -h "$exe" | awk '$2 == ".rsrc" {print $4, $6}')
    start=$((0x$base + rva - 0x$vma + 0x$offset))
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
