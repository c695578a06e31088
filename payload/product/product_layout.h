// What norvu.exe expects beside itself. The build's generator writes
// norvu.cfg from the same table, so the settings file always names the files
// the program looks for.
#pragma once
#include "resources/product_version.h"

// The engine library, loaded from the program's own folder, and its entry.
#define NORVU_LIBRARY_NAME "ferrox.dll"
#define NORVU_LIBRARY_ENTRY "FerroxVersion"
// The settings file and the section that names the product's files.
#define NORVU_CONFIG_NAME "norvu.cfg"
#define NORVU_CONFIG_SECTION "Norvu"
#define NORVU_VERSION_KEY "Version"

struct ProductFileEntry {
  const char* key;            // key in the [Norvu] section of norvu.cfg
  const char* label;          // how the program names it to the user
  const char* installedName;  // the name Setup installs it under
  bool folder;                // a folder rather than a file
};

inline constexpr ProductFileEntry kProductFiles[] = {
    {"Help", "Help file", "nvuhelp.hlp", false},
    {"StartData", "Start data", "nvustart.kbm", false},
    {"Readme", "Readme", "notice.wri", false},
    {"Uninstaller", "Uninstaller", "unsetup.exe", false},
    {"DataFolder", "Data folder", "IsoData", true},
};
inline constexpr int kProductFileCount = sizeof(kProductFiles) / sizeof(kProductFiles[0]);
