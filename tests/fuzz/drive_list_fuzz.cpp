// The drive-list scan on buffers of any content and length, and the drive
// choices made from its table. Input: the source drive's letter, three bytes
// of fixed-disk flags, then the list as the system would hand it over.
// Whatever the list holds: at most 20 slots are filled, nothing is written
// outside the 100-byte table nor read outside the list, only complete
// entries of one to four characters are taken, upper-cased, and slots past
// the count keep their bytes.
#include <stdint.h>

#include <string>
#include <vector>

#include "destination/drive_list.h"
#include "tests/fuzz/fuzz_buffer.h"

namespace {

const unsigned char kUnused = 0x7F;
const size_t kGuard = 16;
const size_t kTableSize = kDriveSlots * kDriveSlotSize;

char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

// The complete entries at the start of the list, as the table must hold them.
std::vector<std::string> Entries(const char* list, size_t length) {
  std::vector<std::string> entries;
  size_t start = 0;
  while (entries.size() < kDriveSlots) {
    const void* nul = start < length ? memchr(list + start, '\0', length - start) : nullptr;
    if (nul == nullptr) break;
    const size_t n = static_cast<const char*>(nul) - (list + start);
    if (n == 0 || n >= kDriveSlotSize) break;
    std::string entry(list + start, n);
    for (char& ch : entry) ch = Upper(ch);
    entries.push_back(entry);
    start += n + 1;
  }
  return entries;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const char source = char(data[0]);
  const uint32_t fixedFlags = data[1] | data[2] << 8 | data[3] << 16;
  EdgeBuffer list(data + 4, size - 4);

  // The table with a guard in front of it; its end is the block's end.
  EdgeBuffer block(kGuard + kTableSize);
  memset(block.data(), kUnused, block.size());
  char* table = block.data() + kGuard;
  const int kNotSet = -12345;
  int selected = kNotSet;

  const int count = ParseDriveList(list.data(), list.size(), table, source, &selected);

  const std::vector<std::string> entries = Entries(list.data(), list.size());
  FUZZ_CHECK(count >= 0 && count <= kDriveSlots);
  FUZZ_CHECK(size_t(count) == entries.size());
  for (size_t i = 0; i < kGuard; ++i) FUZZ_CHECK(block.bytes()[i] == kUnused);
  int lastMatch = kNotSet, firstMatch = -1;
  for (int slot = 0; slot < kDriveSlots; ++slot) {
    const unsigned char* bytes = reinterpret_cast<unsigned char*>(table) + slot * kDriveSlotSize;
    size_t unusedFrom = 0;
    if (slot < count) {
      const std::string& entry = entries[slot];
      FUZZ_CHECK(memcmp(bytes, entry.c_str(), entry.size() + 1) == 0);
      unusedFrom = entry.size() + 1;
      if (entry[0] == source) {
        lastMatch = slot;
        if (firstMatch < 0) firstMatch = slot;
      }
    }
    for (size_t k = unusedFrom; k < kDriveSlotSize; ++k) FUZZ_CHECK(bytes[k] == kUnused);
  }
  // The source drive's slot is selected; with none, the selection stays.
  FUZZ_CHECK(selected == lastMatch);
  FUZZ_CHECK(FindDrive(table, count, source) == firstMatch);

  // The fixed-disk flags are exactly count long, so a read past them shows.
  bool* fixed = static_cast<bool*>(malloc(count ? count : 1));
  int firstFixed = -1;
  for (int i = 0; i < count; ++i) {
    fixed[i] = (fixedFlags >> i & 1) != 0;
    if (fixed[i] && firstFixed < 0) firstFixed = i;
  }
  const int chosen = ChooseDriveWithoutC(table, count, source, fixed);
  free(fixed);
  if (count == 0) {
    FUZZ_CHECK(chosen == -1);
  } else if (firstMatch >= 0) {
    FUZZ_CHECK(chosen == firstMatch);
  } else {
    FUZZ_CHECK(chosen == (firstFixed >= 0 ? firstFixed : 0));
  }
  return 0;
}
