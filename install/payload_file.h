// The two steps that install one payload file: its resource written out as
// a compressed file, then that file expanded into place by LZ32.
#pragma once
#include <windows.h>

// Writes the bytes of resource name (type 10) of module whole to path,
// creating or truncating it. False when the resource cannot be had, the file
// cannot be created or not every byte reached it.
bool WriteCompressedFile(HMODULE module, const char* name, const char* path);

// Expands the compressed file from into to, which is created or overwritten
// without a question. False when either cannot be opened or the expansion
// fails; a destination already created then stays as far as it got.
bool ExpandFile(const char* from, const char* to);
