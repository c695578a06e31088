// Checks of the rights that the installer gives the folders it makes.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Wine keeps no folder's rights, but it shows whether a folder was made
// with rights of its own: from those it takes the Unix mode, where others
// get nothing, so the list it reports then has no entry for Everyone; a
// folder made with its parent's rights has Unix's read and execute for
// others, which Wine reports as Everyone's.
bool EveryoneHasAnEntry(const std::string& path);

// A well-known SID, as CreateWellKnownSid makes it.
std::vector<BYTE> WellKnownSid(WELL_KNOWN_SID_TYPE type);

// The SID of the user this process runs as, from its token.
std::vector<BYTE> ProcessUser();

// That descriptor holds an access list, protected from the parent's or
// not, of exactly these entries in this order: each allows who access and
// is passed on to the files and folders below.
struct RightsEntry {
  std::vector<BYTE> who;
  DWORD access;
};
void ExpectRights(PSECURITY_DESCRIPTOR descriptor, bool isProtected, const std::vector<RightsEntry>& expected);
