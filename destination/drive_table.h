#pragma once

// Fills the drive table from the system, picks the drive and folder to
// propose and measures that drive's free space.
void BuildDriveTable();
// FreeKB = free space of slot driveIndex, in units of 1000 bytes.
void QueryFreeSpace(int driveIndex);
