#include "shell/private_folder.h"

#include "shell/bounded_text.h"
#include "shell/rights.h"

PSECURITY_DESCRIPTOR MakePrivateFolderRights() {
  auto sidText = (BOOL(WINAPI*)(PSID, LPSTR*))AdvapiFunction("ConvertSidToStringSidA");
  UserBuffer buffer;
  PSID user = CurrentUser(&buffer);
  char* name = nullptr;
  char rights[256];
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (user != nullptr && sidText != nullptr && sidText(user, &name) &&
      ComposeText(rights, "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;", name, ")")) {
    descriptor = RightsFromText(rights);
  }
  LocalFree(name);
  return descriptor;
}

bool MakePrivateFolder(char* folder, size_t size, const char* parent, unsigned first) {
  SECURITY_ATTRIBUTES rights = {sizeof(rights), MakePrivateFolderRights(), FALSE};
  bool made = false;
  unsigned number = first & 0xFFFF;
  for (int tries = 0; tries < 100 && !made; ++tries, number = (number + 1) & 0xFFFF) {
    char name[16] = "nvu";
    if (!AppendNumber(name, sizeof(name), number) || !AppendText(name, ".tmp") ||
        !ComposeTempFile(folder, size, parent, name)) {
      break;
    }
    made = CreateDirectoryA(folder, &rights);
    if (!made && GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  LocalFree(rights.lpSecurityDescriptor);
  if (!made) folder[0] = '\0';
  return made;
}
