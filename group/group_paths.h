// Where the program group and its shortcuts go: the paths the program group
// page composes from the Programs folder, GroupPath and InstallDir.
#pragma once
#include <stddef.h>

// One shortcut made by Finish, in the order they are made.
struct Shortcut {
  const char* linkName;     // appended to the group folder
  const char* targetName;   // appended to InstallDir
  const char* description;  // stored in the link
};

// The two installed files by which a folder is known as an installation of
// Norvu, each appended to the installation folder.
inline constexpr char kUninstallerName[] = "\\unsetup.exe";
inline constexpr char kNorvuProgramName[] = "\\norvu.exe";

inline constexpr Shortcut kShortcuts[] = {
    {"\\Norvu.lnk", "\\Norvu.exe", "Norvu"},
    {"\\Uninstall.lnk", kUninstallerName, "Uninstall"},
    {"\\Readme.lnk", "\\notice.wri", "Readme"},
};

// dest = windowsDir followed directly by "\Start Menu\Programs".
bool ComposeProgramsUnderWindows(char* dest, size_t size, const char* windowsDir);

// The Programs folder to propose the group in: the one below the Windows
// directory when it exists (Windows 95 and 98); otherwise the Start menu's
// all-users folder, else the user's, as the shell names them (null when the
// shell could not say); else the Windows directory's one all the same.
const char* ChooseProgramsFolder(const char* underWindows, bool underWindowsExists,
                                 const char* commonPrograms, const char* userPrograms);

// dest = groupPath, a backslash unless it already ends in one, "Norvu".
// dest may be groupPath itself.
bool ComposeGroupFolder(char* dest, size_t size, const char* groupPath);

// linkPath = group + the shortcut's file name, target = installDir + its
// target's file name. Returns false, both buffers unchanged, when either
// would not fit: that shortcut is then not made.
bool ComposeShortcut(const Shortcut& shortcut, const char* group, const char* installDir,
                     char* linkPath, size_t linkSize, char* target, size_t targetSize);
