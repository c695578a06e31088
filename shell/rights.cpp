#include "shell/rights.h"

#include <sddl.h>

#include "shell/known_sids.h"

FARPROC AdvapiFunction(const char* name) { return GetProcAddress(GetModuleHandleA("advapi32.dll"), name); }

PSECURITY_DESCRIPTOR RightsFromText(const char* text) {
  auto convert = (decltype(&ConvertStringSecurityDescriptorToSecurityDescriptorA))AdvapiFunction(
      "ConvertStringSecurityDescriptorToSecurityDescriptorA");
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (convert == nullptr || !convert(text, SDDL_REVISION_1, &descriptor, nullptr)) return nullptr;
  return descriptor;
}

PSID CurrentUser(UserBuffer* buffer) {
  auto open = (decltype(&OpenProcessToken))AdvapiFunction("OpenProcessToken");
  auto query = (decltype(&GetTokenInformation))AdvapiFunction("GetTokenInformation");
  HANDLE token;
  DWORD size;
  if (open == nullptr || query == nullptr || !open(GetCurrentProcess(), TOKEN_QUERY, &token)) return nullptr;
  BOOL known = query(token, TokenUser, buffer, sizeof(*buffer), &size);
  CloseHandle(token);
  return known ? buffer->user.User.Sid : nullptr;
}

bool RunsAsAdministrator() {
  auto check = (decltype(&CheckTokenMembership))AdvapiFunction("CheckTokenMembership");
  BOOL member = FALSE;
  if (check != nullptr) check(nullptr, (PSID)kAdministratorsSid, &member);
  return member;
}
