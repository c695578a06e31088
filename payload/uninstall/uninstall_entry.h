// Where setup recorded the installation, and how far the uninstaller trusts
// what it reads there.
#pragma once
#include <stddef.h>

const size_t kRecordedPathSize = 512;  // as large as setup's own path buffers

// The installation as its uninstall entry records it.
struct Installation {
  const char* versionKey;              // the version key the entry was found below
  char progdir[kRecordedPathSize];     // "Progdir": the installation folder
  char scdir[kRecordedPathSize];       // "Scdir": the program group folder, may be empty
};

// The two version keys in the order to look for the entry: first the one
// that setup chooses for this versionWord, then the other, so that an
// installation made while the system reported another version is found too.
void EntryKeyOrder(unsigned long versionWord, const char* order[2]);

// dest = versionKey, "\Uninstall\Norvu".
bool ComposeEntryKey(char* dest, size_t size, const char* versionKey);
// dest = versionKey, "\Uninstall".
bool ComposeUninstallListKey(char* dest, size_t size, const char* versionKey);

// Whether the Uninstall list below versionKey goes too once it is empty.
// Windows keeps its own list below the Windows key; one below the Windows NT
// key exists only because setup created it for its entry.
bool RemovesEmptyUninstallList(const char* versionKey);

// What the uninstaller makes of a folder read back from the registry, or of
// its own folder. Only a trusted folder has anything removed from it.
enum FolderVerdict {
  FolderTrusted,             // "X:\" and at least one plain step
  FolderNotFull,             // relative (taken from any current folder), an empty step, "/", ...
  FolderIsDriveRoot,         // "X:\": everything on the drive
  FolderIsNetworkOrDevice,   // "\\server\share", "\\?\...", "\\.\..."
  FolderHasDotsStep,         // a step of only dots and spaces, which the system trims to "." or ".."
  FolderWithoutUninstaller,  // the installation folder holds no unsetup.exe (told by the disk)
  FolderThroughLink,         // it or a folder above it is a junction, symbolic link or mount point (told by the disk)
  FolderUnreadable,          // the disk does not tell what it or a folder above it is: it may be a link
};
FolderVerdict JudgeFolder(const char* path);

// An uninstall entry that the uninstaller will not work with: which value
// (named as in the registry), what it holds and why.
struct Refusal {
  const char* valueName;
  FolderVerdict verdict;
  char value[kRecordedPathSize];
};
void Refuse(Refusal& refusal, const char* valueName, const char* value, FolderVerdict verdict);

// Progdir must be trusted; Scdir trusted too, or empty (no group recorded).
// False, with the refusal filled in, otherwise.
bool JudgeEntry(const Installation& entry, Refusal& refusal);

// The same folder, letter case and a trailing backslash aside.
bool SameFolder(const char* a, const char* b);

// ASCII letters compared without regard to case, as the file system and the
// registry compare names.
bool EqualNoCase(const char* a, const char* b);
