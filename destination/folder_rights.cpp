#include "destination/folder_rights.h"

#include <sddl.h>

namespace {

// Protected (P): nothing is taken from the parent, which below a drive root
// lets every signed-in user change the folder and so replace the programs
// an administrator runs later, the uninstaller above all. 0x1200a9 is read
// and execute (FILE_GENERIC_READ | FILE_GENERIC_EXECUTE).
const char kFolderRights[] = "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";

}  // namespace

PSECURITY_DESCRIPTOR MakeInstallFolderRights() {
  // Looked up, not imported: Windows 95 and NT 4 would refuse to start a
  // program that imports it. advapi32 is loaded already (the registry).
  auto convert = (decltype(&ConvertStringSecurityDescriptorToSecurityDescriptorA))GetProcAddress(
      GetModuleHandleA("advapi32.dll"), "ConvertStringSecurityDescriptorToSecurityDescriptorA");
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (convert == nullptr || !convert(kFolderRights, SDDL_REVISION_1, &descriptor, nullptr)) return nullptr;
  return descriptor;
}

BOOL CreateInstallFolder(const char* path) {
  SECURITY_ATTRIBUTES rights = {sizeof(rights), MakeInstallFolderRights(), FALSE};
  BOOL created = CreateDirectoryA(path, &rights);
  LocalFree(rights.lpSecurityDescriptor);
  return created;
}
