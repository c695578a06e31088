#pragma once
#include <stddef.h>

// The installation directory: the browse path, a backslash unless the path
// is a drive root, and the folder name. "C:\" and "Norvu" give "C:\Norvu".
bool ComposeInstallDir(char* out, size_t size, const char* browsePath, const char* folderName);

// What the Browse dialog's name field keeps of a typed name.
enum NameEdit { NameCleared, NameTaken, NameTooLong };
NameEdit ClassifyFolderName(size_t length);
