#include "group/registry_keys.h"

// Defined here once, not inline in the header: each is a single object, so
// callers may compare a returned key by its address.
const char kWindowsVersionKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const char kWindowsNtVersionKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
const char kAppPathsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";
const char kUninstallSubkey[] = "Uninstall\\Norvu";

const char* VersionKeyFor(unsigned long versionWord) {
  bool win9xFamily = (versionWord & 0x80000000ul) != 0;
  unsigned major = versionWord & 0xFFu;
  return win9xFamily && major >= 4 ? kWindowsVersionKey : kWindowsNtVersionKey;
}
