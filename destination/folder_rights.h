// The rights the installation folder is created with.
#pragma once
#include <windows.h>

// A protected access list, as a folder below Program Files gets it: SYSTEM
// and Administrators full control, Users read and execute, each entry
// inherited by the files and folders below. Null where the system cannot
// make one (Windows 95 and NT 4 lack the call). Freed with LocalFree.
PSECURITY_DESCRIPTOR MakeInstallFolderRights();

// Creates the folder with those rights, or, without them, with what its
// parent gives. A folder that exists already is left as it is.
BOOL CreateInstallFolder(const char* path);
