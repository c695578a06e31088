#pragma once
#include <stddef.h>

// Writes the Start menu's Programs folder into dest: windowsDir's
// "Start Menu\Programs" where it exists; on systems without one (Windows NT
// and everything after it) the folder the shell names.
void FindProgramsFolder(char* dest, size_t size, const char* windowsDir);
