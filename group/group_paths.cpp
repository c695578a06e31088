#include "group/group_paths.h"

#include <string.h>

#include "shell/bounded_text.h"
#include "shell/texts.h"

bool ComposeProgramsUnderWindows(char* dest, size_t size, const char* windowsDir) {
  return ComposeText(dest, size, windowsDir, "\\Start Menu\\Programs");
}

const char* ChooseProgramsFolder(const char* underWindows, bool underWindowsExists,
                                 const char* commonPrograms, const char* userPrograms) {
  if (underWindowsExists) return underWindows;
  if (commonPrograms) return commonPrograms;
  if (userPrograms) return userPrograms;
  return underWindows;
}

bool ComposeGroupFolder(char* dest, size_t size, const char* groupPath) {
  return JoinPath(dest, size, groupPath, kProductName);
}

bool ComposeShortcut(const Shortcut& shortcut, const char* group, const char* installDir,
                     char* linkPath, size_t linkSize, char* target, size_t targetSize) {
  // Both are measured first so that a refusal leaves neither half-made.
  if (strlen(group) + strlen(shortcut.linkName) >= linkSize) return false;
  if (strlen(installDir) + strlen(shortcut.targetName) >= targetSize) return false;
  ComposeText(linkPath, linkSize, group, shortcut.linkName);
  ComposeText(target, targetSize, installDir, shortcut.targetName);
  return true;
}
