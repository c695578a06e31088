#include "destination/folder_rules.h"

#include <string.h>

#include "shell/bounded_text.h"

static size_t Threshold(int mode) { return mode == kGroupMode ? 21 : 3; }

// In directory mode a path of 3 characters or fewer is a drive root that
// already ends in its backslash.
static const char* Separator(const char* path, int mode) {
  return (mode == kDirectoryMode && strlen(path) <= 3) ? "" : "\\";
}

bool HasUpRow(const char* path, int mode) { return strlen(path) > Threshold(mode); }

int AppendSearchPattern(char* path, size_t size, int mode) {
  const char* separator = Separator(path, mode);
  if (!ComposeText(path, size, path, separator, "*.*")) return 0;
  return (int)strlen(separator) + 3;
}

void CutSearchPattern(char* path, int cut) {
  size_t n = strlen(path);
  path[(size_t)cut <= n ? n - cut : 0] = '\0';
}

bool IsListedFolder(const char* name, unsigned long attributes) {
  return (attributes & 0x10) != 0 && name[0] != '.';
}

FolderStep DecideFolderStep(int selected, int listEntryCount, const char* path, int mode) {
  if (selected < 0 || selected > listEntryCount) return StepNone;
  if (selected == 0 && HasUpRow(path, mode)) return StepUp;
  return StepInto;
}

void GoUpOneLevel(char* path, int mode) {
  char* last = strrchr(path, '\\');
  if (last == nullptr) return;
  if (mode == kDirectoryMode && last - path <= 3) {
    last[1] = '\0';
  } else {
    *last = '\0';
  }
}

bool EnterFolder(char* path, int mode, const char* rowText) {
  return ComposeText(path, kMaxBrowseLength + 1, path, Separator(path, mode), rowText);
}

bool ComposeFolderLabel(char* out, size_t size, const char* path, int mode, const char* folderName) {
  return ComposeText(out, size, path, Separator(path, mode), folderName);
}
