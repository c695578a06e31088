#include "destination/install_dir.h"

#include "destination/folder_rules.h"

bool ComposeInstallDir(char* out, size_t size, const char* browsePath, const char* folderName) {
  return ComposeFolderLabel(out, size, browsePath, kDirectoryMode, folderName);
}

NameEdit ClassifyFolderName(size_t length) {
  if (length == 0) return NameCleared;
  return length <= kMaxFolderName ? NameTaken : NameTooLong;
}
