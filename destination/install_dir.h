#pragma once
#include <stddef.h>

// The installation directory: the browse path, a backslash unless the path
// is a drive root, and the folder name. "C:\" and "Norvu" give "C:\Norvu".
bool ComposeInstallDir(char* out, size_t size, const char* browsePath, const char* folderName);

// What the Browse dialog's name field keeps of a typed name.
enum NameEdit { NameCleared, NameTaken, NameTooLong };
NameEdit ClassifyFolderName(size_t length);

// Whether setup may install into a folder that exists already (attributes
// as GetFileAttributesA gives them; all bits set when there is nothing of
// that name). Where it runs with administrator rights, not into a reparse
// point (a junction, symbolic link or mount point: its files would land in
// another folder), nor into a folder that someone else owns, who could
// replace the programs an administrator runs later. Trusted owners are
// Administrators, SYSTEM, TrustedInstaller, user (the account that runs
// setup) and Everyone, which a volume without security (FAT) names for
// every folder. descriptor: the folder's self-relative security
// descriptor with its owner, size bytes (0 when it could not be read);
// user null when unknown.
bool MayInstallIntoFolder(bool administrator, unsigned long attributes, const unsigned char* descriptor, size_t size,
                          const unsigned char* user);
