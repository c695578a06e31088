#include "destination/drive_list.h"

#include "shell/bounded_text.h"

static char Upper(char c) { return (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c; }

int ParseDriveList(const char* list, size_t length, char* table, char sourceLetter, int* selected) {
  int count = 0;
  size_t start = 0;
  while (count < kDriveSlots && start < length) {
    size_t end = start;
    while (end < length && list[end] != '\0') ++end;
    size_t n = end - start;
    if (end == length || n == 0 || n >= kDriveSlotSize) break;
    char* slot = table + count * kDriveSlotSize;
    for (size_t i = 0; i < n; ++i) slot[i] = Upper(list[start + i]);
    slot[n] = '\0';
    if (slot[0] == sourceLetter) *selected = count;
    ++count;
    start = end + 1;
  }
  return count;
}

int FindDrive(const char* table, int count, char letter) {
  for (int i = 0; i < count; ++i) {
    if (table[i * kDriveSlotSize] == letter) return i;
  }
  return -1;
}

int ChooseDriveWithoutC(const char* table, int count, char sourceLetter, const bool* fixed) {
  int source = FindDrive(table, count, sourceLetter);
  if (source >= 0) return source;
  for (int i = 0; i < count; ++i) {
    if (fixed[i]) return i;
  }
  return count > 0 ? 0 : -1;
}

// The product of three 32-bit counts needs 96 bits. It is formed and
// divided in 16-bit digits, so that every step fits 32-bit arithmetic and
// the installer needs no 64-bit division routines from the compiler's
// support library.
namespace {
const int kDigits = 6;  // 96 bits in 16-bit digits, lowest first

void MultiplyDigits(uint16_t* number, uint32_t factor) {
  uint32_t carryLow = 0, carryHigh = 0;
  for (int i = 0; i < kDigits; ++i) {
    uint32_t low = (uint32_t)number[i] * (factor & 0xFFFF) + carryLow;
    uint32_t high = (uint32_t)number[i] * (factor >> 16) + carryHigh + (low >> 16);
    number[i] = (uint16_t)low;
    carryLow = high & 0xFFFF;
    carryHigh = high >> 16;
  }
}
}  // namespace

uint32_t FreeKBFromClusters(bool queried, uint32_t sectorsPerCluster, uint32_t bytesPerSector, uint32_t freeClusters) {
  if (!queried) return 0;
  uint16_t number[kDigits] = {(uint16_t)sectorsPerCluster, (uint16_t)(sectorsPerCluster >> 16)};
  MultiplyDigits(number, bytesPerSector);
  MultiplyDigits(number, freeClusters);
  uint32_t remainder = 0;
  for (int i = kDigits - 1; i >= 0; --i) {
    uint32_t part = (remainder << 16) | number[i];
    number[i] = (uint16_t)(part / 1000);
    remainder = part % 1000;
  }
  // More thousands than 32 bits hold: the largest value, which passes.
  if (number[2] | number[3] | number[4] | number[5]) return UINT32_MAX;
  return ((uint32_t)number[1] << 16) | number[0];
}

bool FormatFreeSpaceLabel(char* out, size_t size, uint32_t freeKB) {
  char label[64] = " Available: ";
  AppendNumber(label, sizeof(label), freeKB);
  AppendText(label, sizeof(label), " KB, Required: ");
  AppendNumber(label, sizeof(label), kRequiredKB);
  AppendText(label, sizeof(label), " KB");
  return CopyText(out, size, label);
}
