// The rights the installation folder is created with, and whether a folder
// that exists already may be installed into.
#pragma once
#include <windows.h>

// A protected access list, as a folder below Program Files gets it: SYSTEM
// and Administrators full control, Users read and execute, each entry
// inherited by the files and folders below. Null where the system cannot
// make one (Windows 95 and NT 4 lack the call). Freed with LocalFree.
PSECURITY_DESCRIPTOR MakeInstallFolderRights();

// Creates the folder: with those rights where setup runs with administrator
// rights, otherwise (or without them) with what its parent gives, so that a
// user without administrator rights can write the folder that they make. A
// folder that exists already is left as it is.
BOOL CreateInstallFolder(const char* path);

// Whether setup may install into path, which it could not create: see
// MayInstallIntoFolder (install_dir.h).
bool MayInstallInto(const char* path);
