#include "shell/known_sids.h"

const unsigned char kKnownSids[72] = {
    1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 0x02, 0, 0,  // Administrators
    1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0,                    // SYSTEM
    1, 6, 0, 0, 0, 0, 0, 5, 80, 0, 0, 0, 0xB5, 0x89, 0xFB, 0x38, 0x19, 0x84, 0xC2, 0xCB,
    0x5C, 0x6C, 0x23, 0x6D, 0x57, 0x00, 0x77, 0x6E, 0xC0, 0x02, 0x64, 0x87,  // TrustedInstaller
    1, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0,                                      // Everyone
};

bool IsSidAmong(const unsigned char* sid, size_t size, const unsigned char* known, int count) {
  for (; count > 0; --count) {
    size_t length = 8 + 4 * (size_t)known[1], same = 0;
    while (same < length && same < size && sid[same] == known[same]) ++same;
    if (same == length) return true;
    known += length;
  }
  return false;
}
