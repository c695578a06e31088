#pragma once
#include <windows.h>

// Saves a shortcut to target with a description as the file linkPath
// (".lnk" included). Returns the HRESULT of the creation, of the
// persist-file query or of the save, whichever came last; nothing is
// written on failure. COM is set up and torn down within the call.
HRESULT CreateShellLink(const char* target, const char* linkPath, const char* description);
