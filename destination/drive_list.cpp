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

uint32_t FreeKBFromClusters(bool queried, uint32_t sectorsPerCluster, uint32_t bytesPerSector, uint32_t freeClusters) {
  if (!queried) return 0;
  // Up to 96 bits: divide the cluster size first where that stays exact.
  uint64_t clusterBytes = (uint64_t)sectorsPerCluster * bytesPerSector;
  uint64_t limit = (uint64_t)UINT32_MAX * 1000 + 999;
  if (clusterBytes != 0 && freeClusters > limit / clusterBytes) return UINT32_MAX;
  return (uint32_t)(clusterBytes * freeClusters / 1000);
}

bool FormatFreeSpaceLabel(char* out, size_t size, uint32_t freeKB) {
  char label[64] = " Available: ";
  AppendNumber(label, sizeof(label), freeKB);
  AppendText(label, sizeof(label), " KB, Required: ");
  AppendNumber(label, sizeof(label), kRequiredKB);
  AppendText(label, sizeof(label), " KB");
  return CopyText(out, size, label);
}
