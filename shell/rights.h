// Who the programs run as, and the rights of the folders they make. The
// calls come from advapi32 by name: Windows 95 lacks them, and NT 4 some,
// and a program that imported them would not start there.
#pragma once
#include <windows.h>

// The advapi32 function of that name; null where the system lacks it.
FARPROC AdvapiFunction(const char* name);

// A security descriptor from its text (SDDL), freed with LocalFree; null
// where the system cannot make one (Windows 95 and NT 4 lack the call).
PSECURITY_DESCRIPTOR RightsFromText(const char* text);

// The account this process runs as (its token's user), held in the
// buffer; null when it cannot be asked.
struct UserBuffer {
  TOKEN_USER user;
  BYTE sid[SECURITY_MAX_SID_SIZE];
};
PSID CurrentUser(UserBuffer* buffer);

// Whether the process runs with administrator rights: its token is a
// member of Administrators (on Vista and later, only once elevated). Where
// the system cannot say (NT 4 and Windows 95 lack the call) it counts as
// without them: what setup then makes and accepts is what it always did.
bool RunsAsAdministrator();
