// A folder of the program's own inside a folder that others can write (the
// temporary folder): made anew, so that nothing can have been put into it,
// or in its place, before the program writes there.
#pragma once
#include <windows.h>

// Creates parent\nvuNUMBER.tmp (an 8.3 name, NUMBER below 65536) and puts
// its path into folder. CreateDirectoryA fails on any name that exists (a
// folder, a file, a link), so a name taken already is passed over for the
// next number, from first on. False when no new folder could be made;
// folder is then empty.
bool MakePrivateFolder(char* folder, size_t size, const char* parent,
                       unsigned first = GetTickCount() ^ GetCurrentProcessId());

// The rights it is made with, a list of its own: SYSTEM, Administrators and
// the account that runs the program, full control, passed on to what is in
// it; nothing from the parent, where under C:\Windows\Temp (or NT 4's
// C:\TEMP) others may create files in any folder. Null where the system
// cannot make them (NT 4, Windows 95): the folder then takes the parent's.
// Freed with LocalFree.
PSECURITY_DESCRIPTOR MakePrivateFolderRights();
