# Sourced: whether this machine runs 32-bit x86 programs, which Wine's
# 32-bit loader is. Where it does not (a kernel or hypervisor without IA-32
# emulation), Wine runs in the emulated machine (scripts/emulated-machine.sh).

# Runs a 93-byte 32-bit program that only exits. True when it ran; false
# when the kernel refused it as "Exec format error" (a folder that forbids
# running programs does not count as no).
norvu_runs_32bit() {
  local probe out status
  probe=$(mktemp "${TMPDIR:-/tmp}/norvu-ia32.XXXXXX") || return 0
  printf '\x7fELF\x01\x01\x01\0\0\0\0\0\0\0\0\0\x02\0\x03\0\x01\0\0\0\x54\x80\x04\x08\x34\0\0\0\0\0\0\0\0\0\0\0\x34\0\x20\0\x01\0\0\0\0\0\0\0\x01\0\0\0\0\0\0\0\0\x80\x04\x08\0\x80\x04\x08\x5d\0\0\0\x5d\0\0\0\x05\0\0\0\0\x10\0\0\xb8\x01\0\0\0\x31\xdb\xcd\x80' >"$probe"
  chmod 700 "$probe"
  out=$("$probe" 2>&1)
  status=$?
  rm -f "$probe"
  [ $status -eq 126 ] && [[ "$out" == *"Exec format error"* ]] && return 1
  return 0
}

# True when Wine must run in the emulated machine: this machine runs no
# 32-bit code, or NORVU_EMULATED=1 asks for the machine anyway (to check that
# way where both work). Never inside the machine itself.
norvu_wine_needs_machine() {
  [ -z "${NORVU_IN_MACHINE:-}" ] || return 1
  [ "${NORVU_EMULATED:-}" = 1 ] && return 0
  ! norvu_runs_32bit
}
