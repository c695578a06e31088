// The registry keys below HKEY_LOCAL_MACHINE that record the product.
#pragma once

inline constexpr char kWindowsVersionKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
inline constexpr char kWindowsNtVersionKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
// The application-path entry lives below the Windows key on every version.
inline constexpr char kAppPathsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";
// Below the version key. Relative key names must not begin with a
// backslash: Windows NT refuses such a name with ERROR_BAD_PATHNAME.
inline constexpr char kUninstallSubkey[] = "Uninstall\\Norvu";

// The version key for a GetVersion word: the Windows key on Windows 95 and
// later of that family (bit 31 set, major version 4 or more), the Windows NT
// key on everything else.
const char* VersionKeyFor(unsigned long versionWord);
