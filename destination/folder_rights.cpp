#include "destination/folder_rights.h"

#include "destination/install_dir.h"
#include "shell/rights.h"

PSECURITY_DESCRIPTOR MakeInstallFolderRights() {
  // Protected (P): nothing is taken from the parent, which below a drive
  // root lets every signed-in user change the folder and so replace the
  // programs an administrator runs later, the uninstaller above all.
  // 0x1200a9 is read and execute (FILE_GENERIC_READ | FILE_GENERIC_EXECUTE).
  return RightsFromText("D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)");
}

BOOL CreateInstallFolder(const char* path) {
  SECURITY_ATTRIBUTES rights = {sizeof(rights), RunsAsAdministrator() ? MakeInstallFolderRights() : nullptr, FALSE};
  BOOL created = CreateDirectoryA(path, &rights);
  LocalFree(rights.lpSecurityDescriptor);
  return created;
}

bool MayInstallInto(const char* path) {
  auto readRights = (decltype(&GetFileSecurityA))AdvapiFunction("GetFileSecurityA");
  BYTE descriptor[512];
  DWORD size = 0;
  if (readRights == nullptr || !readRights(path, OWNER_SECURITY_INFORMATION, descriptor, sizeof(descriptor), &size)) {
    size = 0;
  }
  UserBuffer user;
  return MayInstallIntoFolder(RunsAsAdministrator(), GetFileAttributesA(path), descriptor, size,
                              (const unsigned char*)CurrentUser(&user));
}
