// The security identifiers that the programs name, as the system stores a
// SID: revision 1, the number of sub-authorities, the identifier authority
// in six bytes (big-endian), then each sub-authority in four (little-
// endian). Spelled out rather than asked of the system, which lacks the
// calls for that on Windows 95 and NT 4; without windows.h, so that what
// reads them is tested natively too.
#pragma once
#include <stddef.h>

// One after another: Administrators (S-1-5-32-544), SYSTEM (S-1-5-18),
// TrustedInstaller (S-1-5-80-956008885-3418522649-1831038044-1853292631-
// 2271478464, Windows' own installer service) and Everyone (S-1-1-0).
const int kKnownSidCount = 4;
extern const unsigned char kKnownSids[72];
const unsigned char* const kAdministratorsSid = kKnownSids;

// Whether the size bytes at sid begin with one of the count SIDs that lie
// one after another at known.
bool IsSidAmong(const unsigned char* sid, size_t size, const unsigned char* known, int count);
