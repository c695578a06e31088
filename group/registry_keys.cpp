#include "group/registry_keys.h"

const char* VersionKeyFor(unsigned long versionWord) {
  bool win9xFamily = (versionWord & 0x80000000ul) != 0;
  unsigned major = versionWord & 0xFFu;
  return win9xFamily && major >= 4 ? kWindowsVersionKey : kWindowsNtVersionKey;
}
