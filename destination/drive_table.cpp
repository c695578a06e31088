#include "destination/drive_table.h"

#include <windows.h>

#include "destination/drive_list.h"
#include "shell/bounded_text.h"
#include "shell/setup_state.h"

static const char kProgramFiles[] = "C:\\Program files";

static const char* Slot(int index) { return DriveTable + index * kDriveSlotSize; }

// Without drive C: the source drive, else the first fixed disk, so that the
// proposal is never a path relative to the current directory.
static void ProposeWithoutDriveC() {
  bool fixed[kDriveSlots];
  for (int i = 0; i < DriveCount; ++i) fixed[i] = GetDriveTypeA(Slot(i)) == DRIVE_FIXED;
  int drive = ChooseDriveWithoutC(DriveTable, DriveCount, SourceDir[0], fixed);
  if (drive < 0) return;
  SelectedDrive = drive;
  CopyText(BrowsePath, Slot(drive));
}

void BuildDriveTable() {
  DriveCount = 0;
  // Room for all 26 drive letters, so that the list is never cut short.
  char list[26 * 4 + 1];
  DWORD length = GetLogicalDriveStringsA(sizeof(list), list);
  if (length > sizeof(list)) length = 0;  // the answer did not fit: no list
  CharUpperA(SourceDir);
  DriveCount = ParseDriveList(list, length, DriveTable, SourceDir[0], &SelectedDrive);

  int c = FindDrive(DriveTable, DriveCount, 'C');
  if (c >= 0) {
    SelectedDrive = c;
    CopyText(BrowsePath, kProgramFiles);
    // Tests that the folder exists; on success it stays the current one.
    if (!SetCurrentDirectoryA(BrowsePath)) CopyText(BrowsePath, Slot(c));
  } else {
    ProposeWithoutDriveC();
  }
  QueryFreeSpace(SelectedDrive);
}

void QueryFreeSpace(int driveIndex) {
  DWORD sectors = 0, bytes = 0, freeClusters = 0, total = 0;
  bool queried = driveIndex >= 0 && driveIndex < DriveCount &&
                 GetDiskFreeSpaceA(Slot(driveIndex), &sectors, &bytes, &freeClusters, &total);
  FreeKB = FreeKBFromClusters(queried, sectors, bytes, freeClusters);
}
