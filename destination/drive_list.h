// The drive table: the logical drives as 20 slots of 5 bytes, each a drive
// root such as "C:\" and its terminator, and the choices made from it.
#pragma once
#include <stddef.h>
#include <stdint.h>

enum {
  kDriveSlots = 20,
  kDriveSlotSize = 5,
  kRequiredKB = 1400,  // the installation needs 1400 units of 1000 bytes
};

// Reads a system drive list (roots separated by NULs, closed by an empty
// string) of length bytes into table. Only complete entries are taken: an
// entry not closed within length, an empty one (the end of the list) or one
// longer than a slot ends the scan, and at most 20 are taken. Slots are
// upper-cased. *selected becomes the slot whose letter is sourceLetter (upper
// case), and is left alone when none is. Returns the number of slots filled.
int ParseDriveList(const char* list, size_t length, char* table, char sourceLetter, int* selected);

// The slot of a drive letter, or -1.
int FindDrive(const char* table, int count, char letter);

// The drive to propose on a machine without drive C: the source drive, else
// the first fixed drive, else the first drive; -1 with no drives at all.
// fixed[i] tells whether slot i is a fixed disk.
int ChooseDriveWithoutC(const char* table, int count, char sourceLetter, const bool* fixed);

// Free space in units of 1000 bytes, rounded down. A failed query counts as
// no space at all, so the requirement refuses it; more than 32 bits can hold
// is held as the largest value, which passes the requirement.
uint32_t FreeKBFromClusters(bool queried, uint32_t sectorsPerCluster, uint32_t bytesPerSector, uint32_t freeClusters);

inline bool HasRoomForInstall(uint32_t freeKB) { return freeKB >= kRequiredKB; }

// " Available: %lu KB, Required: %d KB" into out; false when it does not fit.
bool FormatFreeSpaceLabel(char* out, size_t size, uint32_t freeKB);
