// The rules of the folder list that both browse dialogs share, on plain
// text: when the up row shows, the search pattern, going up, entering a row
// and the label that names the folder to be created.
#pragma once
#include <stddef.h>

// Mirrors FolderListMode: 0 for the Browse dialog, 1 for the group browser.
enum { kDirectoryMode = 0, kGroupMode = 1 };

// Path buffers are 512 bytes. A path never grows past kMaxBrowseLength
// characters, so it always keeps room for the 4-character search pattern and
// for a backslash and a 99-character folder name in any 512-byte buffer
// composed from it (the installation directory, the label, the group).
enum { kPathBufferSize = 512, kMaxBrowseLength = 407, kMaxFolderName = 99 };

// Rows with this name open the list: eight full stops.
constexpr char kUpRowText[] = "........";

// The up row shows, and row 0 goes up, only while the path is longer than
// 3 characters (directory mode) or 21 (group mode).
bool HasUpRow(const char* path, int mode);

// Appends the search pattern ("\*.*", or "*.*" after a directory-mode root)
// and returns how many characters to cut off again; 0 when it did not fit.
int AppendSearchPattern(char* path, size_t size, int mode);
void CutSearchPattern(char* path, int cut);

// Subfolders are listed, except names that begin with a full stop.
bool IsListedFolder(const char* name, unsigned long attributes);

enum FolderStep { StepNone, StepUp, StepInto };
// What a double-click does: nothing without a valid selected row; row 0
// while the up row shows goes up; any other row is entered.
FolderStep DecideFolderStep(int selected, int listEntryCount, const char* path, int mode);

// Ends the path at its last backslash; a directory-mode root keeps its
// backslash ("C:\A" gives "C:\"). No backslash: no change.
void GoUpOneLevel(char* path, int mode);

// Appends a backslash (unless a directory-mode root) and the row's text.
// Refused, path unchanged, when the result would pass kMaxBrowseLength.
bool EnterFolder(char* path, int mode, const char* rowText);

// The label: the path, a backslash unless a directory-mode root, and the
// folder name.
bool ComposeFolderLabel(char* out, size_t size, const char* path, int mode, const char* folderName);
