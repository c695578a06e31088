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

// A full folder path that files may be removed from: "X:\..." or
// "\\server\share...", without wildcards and without a "." or ".." step.
// A relative path would be taken from the current folder, anywhere.
bool IsFullFolderPath(const char* path);

// The same folder, letter case and a trailing backslash aside.
bool SameFolder(const char* a, const char* b);

// ASCII letters compared without regard to case, as the file system and the
// registry compare names.
bool EqualNoCase(const char* a, const char* b);
