// What the uninstaller removes, in which order, and when it may.
//
// It removes only what setup made, under the names setup used: the seven
// files of the payload table, the folders of the subfolder table, the three
// shortcuts and the two registry entries. The order is: the product's files,
// the program last of them, the uninstaller's own file, the shortcuts, the
// program group folder, the data folder, the installation folder, the
// uninstall entry, the application-path entry. Whatever the user decides to
// leave (a file in use) keeps what still serves it: its shortcut, and the
// uninstaller with its shortcut and entry (without an entry, with the
// program: the folder is then known by those two files), so that the removal
// can be finished later.
#pragma once
#include <stddef.h>

#include "group/group_paths.h"
#include "install/payload_table.h"
#include "payload/uninstall/uninstall_entry.h"

// The payload index of the uninstaller, or -1 when the table has none.
int UninstallerIndex();
// The payload index of the file that a shortcut's target names ("\Norvu.exe"
// is the installed "\norvu.exe"), or -1.
int PayloadIndexOf(const char* destinationName);

// What has been left so far.
struct RemovalProgress {
  bool fileLeft[kPayloadCount];  // the file is still there after its step
};

// The payload indices in the order the files are removed: the table's order,
// but the program and then the uninstaller last, so that the two files by
// which a folder is known as an installation go after all the others.
void FileRemovalOrder(int (&order)[kPayloadCount]);

// Any of the product's files other than the uninstaller is still there.
bool ProductFilesLeft(const RemovalProgress& progress);
// Whether the file at index may go, the files before it in
// FileRemovalOrder having been dealt with. The uninstaller goes only when
// every other file has gone. Without an uninstall entry (recorded false) the
// program, too, goes only when every file but it and the uninstaller has
// gone: a second run knows the folder only by the two of them.
bool MayRemoveFile(int index, const RemovalProgress& progress, bool recorded);
// A shortcut goes when its target has gone.
bool MayRemoveShortcut(const Shortcut& shortcut, const RemovalProgress& progress);
// The uninstall entry goes with the uninstaller that it names.
bool MayRemoveUninstallEntry(const RemovalProgress& progress);
// The application-path entry goes with the program, and only when it still
// names this installation's folder: another installation may have taken it
// over since.
bool MayRemoveAppPath(const RemovalProgress& progress, const char* appPathFolder, const char* installFolder);

// What a failed removal of a file or folder means, from the system's error.
enum RemovalOutcome {
  RemovalGone,      // it was not there (any more): nothing to do
  RemovalInUse,     // a program holds it open or runs from it: worth a retry
  RemovalNoRights,  // this user may not remove it
  RemovalFailed,    // anything else
};
// The system refuses a running program's file with "access denied", as it
// refuses a file that the user lacks the rights to. openError tells them
// apart: the error of opening the item for deletion after an "access
// denied" (0 when it opened, and for any other error).
RemovalOutcome ClassifyRemovalError(unsigned long error, unsigned long openError);

// What the disk says of the installation folder or a folder on the way to
// it, from its attributes, or when they cannot be read (kNoAttributes) from
// the system's error: a plain folder is FolderTrusted, a junction, symbolic
// link or mount point FolderThroughLink. One that is not there, or is a
// file, holds no installation: FolderWithoutUninstaller. Attributes that
// cannot be read for another reason tell nothing, and it may be a link:
// FolderUnreadable.
const unsigned long kNoAttributes = 0xFFFFFFFFul;
FolderVerdict JudgeAttributes(unsigned long attributes, unsigned long error);
// Whether the system of this GetVersion word opens a folder, so that the
// uninstaller can hold it: Windows NT and its successors do; Windows 95, 98
// and Me (bit 31 set) do not, and know no junctions or links either.
bool OpensFolders(unsigned long versionWord);

// The folders that setup makes, by what setup puts into them.
enum FolderKind { InstallFolder, DataFolder, GroupFolder };

// The entries found in a folder: how many, and which of them setup did not
// make (the user's), named for the final message.
const int kShownNames = 3;
struct FolderListing {
  int entries;             // every entry but "." and ".."
  int othersCount;         // entries that setup did not make
  int othersShown;         // the first of them, named in others
  char others[200];        // "notes.txt, old.cfg"
};
void StartListing(FolderListing& listing);
void AddListedEntry(FolderListing& listing, FolderKind kind, const char* name);
// dest = the user's entries for a message: "notes.txt", "a, b and 3 more".
bool DescribeOthers(char* dest, size_t size, const FolderListing& listing);
