#include "install/payload_file.h"

#include <stdio.h>

#include "shell/system_libraries.h"

bool WriteCompressedFile(HMODULE module, const char* name, const char* path) {
  HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(10));
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (bytes == nullptr) return false;
  DWORD size = SizeofResource(module, found);

  FILE* file = fopen(path, "wb");
  if (file == nullptr) return false;
  // Written straight from the module's resource memory. A short write (a
  // full temporary drive) must fail here: LZ32 expands a cut-off file
  // without complaint, into a cut-off product file.
  bool whole = size == 0 || fwrite(bytes, 1, size, file) == size;
  return fclose(file) == 0 && whole;
}

namespace {

// The files are opened by CreateFileA and handed to LZ32, rather than by
// LZOpenFileA, whose open record holds only 127 characters of path.
HANDLE OpenPlainFile(const char* path, DWORD access, DWORD disposition) {
  return CreateFileA(path, access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

bool ExpandFile(const char* from, const char* to) {
  HANDLE compressed = OpenPlainFile(from, GENERIC_READ, OPEN_EXISTING);
  if (compressed == INVALID_HANDLE_VALUE) return false;
  // LZ32 handles are the system's 32-bit file handles (HFILE).
  INT source = LzInit((INT)(INT_PTR)compressed);
  if (source < 0) {
    CloseHandle(compressed);
    return false;
  }
  HANDLE expanded = OpenPlainFile(to, GENERIC_WRITE, CREATE_ALWAYS);
  if (expanded == INVALID_HANDLE_VALUE) {
    LzClose(source);
    return false;
  }
  LONG copied = LzCopy(source, (INT)(INT_PTR)expanded);
  LzClose(source);
  CloseHandle(expanded);
  return copied >= 0;
}
