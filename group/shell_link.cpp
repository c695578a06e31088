#include "group/shell_link.h"

#include <shlobj.h>

namespace {

// Saves through the link's persist-file interface; the link keeps its own.
HRESULT SaveLink(IShellLinkA* link, const char* linkPath) {
  IPersistFile* file;
  HRESULT result = link->QueryInterface(IID_IPersistFile, (void**)&file);
  if (FAILED(result)) return result;
  WCHAR widePath[MAX_PATH];
  // A name that does not fit is refused, never saved cut short.
  if (MultiByteToWideChar(CP_ACP, 0, linkPath, -1, widePath, MAX_PATH)) {
    result = file->Save(widePath, TRUE);
  } else {
    result = HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
  }
  file->Release();
  return result;
}

}  // namespace

HRESULT CreateShellLink(const char* target, const char* linkPath, const char* description) {
  CoInitialize(nullptr);
  IShellLinkA* link;
  HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void**)&link);
  if (SUCCEEDED(result)) {
    link->SetPath(target);
    link->SetDescription(description);
    result = SaveLink(link, linkPath);
    link->Release();
  }
  CoUninitialize();
  return result;
}
