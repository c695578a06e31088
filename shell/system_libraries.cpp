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

const char kCommonControls[] = "COMCTL32.DLL";
const char kLzExpand[] = "LZ32.DLL";

// Grouped by library: each is loaded once.
const Function kFunctions[] = {
    {kCommonControls, "InitCommonControls", (FARPROC*)&InitCommonControlsCall},
    {kCommonControls, "ImageList_Create", (FARPROC*)&ImageListCreate},
    {kCommonControls, "ImageList_ReplaceIcon", (FARPROC*)&ImageListReplaceIcon},
    {kLzExpand, "LZInit", (FARPROC*)&LzInit},
    {kLzExpand, "LZCopy", (FARPROC*)&LzCopy},
    {kLzExpand, "LZClose", (FARPROC*)&LzClose},
};

HMODULE LoadFromSystemFolder(const char* file) {
  char path[MAX_PATH];
  UINT length = GetSystemDirectoryA(path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH || !JoinPath(path, path, file)) return nullptr;
  return LoadLibraryA(path);
}

}  // namespace

const char* LoadSystemLibraries() {
  const char* loaded = nullptr;
  HMODULE library = nullptr;
  for (const Function& function : kFunctions) {
    if (function.library != loaded) library = LoadFromSystemFolder(loaded = function.library);
    *function.slot = library ? GetProcAddress(library, function.name) : nullptr;
    if (*function.slot == nullptr) return function.library;
  }
  return nullptr;
}
