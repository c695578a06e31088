// The two steps that install one payload file: its resource written out as
// a compressed file, then that file expanded into place by LZ32.
#pragma once
#include <windows.h>

// Creates path, which must not exist yet, shared with nobody, and writes the
// bytes of resource name (type 10) of module to it whole. Returns the file,
// open for reading from its start, or INVALID_HANDLE_VALUE when the resource
// cannot be had, the file cannot be created or not every byte reached it
// (a file created then stays, closed).
HANDLE WriteCompressedFile(HMODULE module, const char* name, const char* path);

// Expands the open compressed file into to, a new file: one of that name
// is removed first, without a question. Closes compressed. False when to
// cannot be removed or made, or the expansion fails; a destination already
// made then stays as far as it got.
bool ExpandFile(HANDLE compressed, const char* to);
