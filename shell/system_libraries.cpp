#include "shell/system_libraries.h"

#include "shell/bounded_text.h"

decltype(&InitCommonControls) InitCommonControlsCall;
decltype(&ImageList_Create) ImageListCreate;
decltype(&ImageList_ReplaceIcon) ImageListReplaceIcon;
decltype(&LZInit) LzInit;
decltype(&LZCopy) LzCopy;
decltype(&LZClose) LzClose;

namespace {

struct Function {
  const char* library;  // file name in the system folder
  const char* name;
  FARPROC* slot;
};

const Function kFunctions[] = {
    {"COMCTL32.DLL", "InitCommonControls", (FARPROC*)&InitCommonControlsCall},
    {"COMCTL32.DLL", "ImageList_Create", (FARPROC*)&ImageListCreate},
    {"COMCTL32.DLL", "ImageList_ReplaceIcon", (FARPROC*)&ImageListReplaceIcon},
    {"LZ32.DLL", "LZInit", (FARPROC*)&LzInit},
    {"LZ32.DLL", "LZCopy", (FARPROC*)&LzCopy},
    {"LZ32.DLL", "LZClose", (FARPROC*)&LzClose},
};

HMODULE LoadFromSystemFolder(const char* file) {
  char path[MAX_PATH];
  UINT length = GetSystemDirectoryA(path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH || !JoinPath(path, path, file)) return nullptr;
  return LoadLibraryA(path);
}

}  // namespace

const char* LoadSystemLibraries() {
  for (const Function& function : kFunctions) {
    // Loading a library a second time only counts it once more.
    HMODULE library = LoadFromSystemFolder(function.library);
    *function.slot = library ? GetProcAddress(library, function.name) : nullptr;
    if (*function.slot == nullptr) return function.library;
  }
  return nullptr;
}
