#include "install/payload_file.h"

#include "shell/system_libraries.h"

HANDLE WriteCompressedFile(HMODULE module, const char* name, const char* path) {
  HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(10));
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (bytes == nullptr) return INVALID_HANDLE_VALUE;
  DWORD size = SizeofResource(module, found);

  // A new file, opened by nobody else while this handle lives: whatever
  // another program left under that name is not written to, and nothing
  // can change the bytes between the write and the expansion.
  HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return file;
  // Written straight from the module's resource memory. A short write (a
  // full temporary drive) must fail here: LZ32 expands a cut-off file
  // without complaint, into a cut-off product file.
  DWORD written = 0;
  if (WriteFile(file, bytes, size, &written, nullptr) && written == size) {
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);  // where LZ32 reads from
    return file;
  }
  CloseHandle(file);
  return INVALID_HANDLE_VALUE;
}

bool ExpandFile(HANDLE compressed, const char* to) {
  // LZ32 handles are the system's 32-bit file handles (HFILE). The files
  // are handed to it rather than opened by LZOpenFileA, whose open record
  // holds only 127 characters of path.
  INT source = LzInit((INT)(INT_PTR)compressed);
  if (source < 0) {
    CloseHandle(compressed);
    return false;
  }
  // Removed first and made anew, never opened over what is there: a file
  // planted under that name would keep its own rights, and a hard link
  // would be written through into the file it shares its bytes with.
  DeleteFileA(to);
  HANDLE expanded = CreateFileA(to, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                nullptr);
  if (expanded == INVALID_HANDLE_VALUE) {
    LzClose(source);
    return false;
  }
  LONG copied = LzCopy(source, (INT)(INT_PTR)expanded);
  LzClose(source);
  CloseHandle(expanded);
  return copied >= 0;
}
