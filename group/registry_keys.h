// The registry keys below HKEY_LOCAL_MACHINE that record the product.
#pragma once

// The two version keys that hold the uninstall list.
extern const char kWindowsVersionKey[];    // Windows 95 family
extern const char kWindowsNtVersionKey[];  // Windows NT and its successors
// The application-path entry lives below the Windows key on every version.
extern const char kAppPathsKey[];
// Below the version key. Relative key names must not begin with a
// backslash: Windows NT refuses such a name with ERROR_BAD_PATHNAME.
extern const char kUninstallSubkey[];

// The version key for a GetVersion word: kWindowsVersionKey on Windows 95
// and later of that family (bit 31 set, major version 4 or more),
// kWindowsNtVersionKey on everything else.
const char* VersionKeyFor(unsigned long versionWord);
