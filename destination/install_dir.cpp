#include "destination/install_dir.h"

#include "destination/folder_rules.h"
#include "shell/known_sids.h"

bool ComposeInstallDir(char* out, size_t size, const char* browsePath, const char* folderName) {
  return ComposeFolderLabel(out, size, browsePath, kDirectoryMode, folderName);
}

NameEdit ClassifyFolderName(size_t length) {
  if (length == 0) return NameCleared;
  return length <= kMaxFolderName ? NameTaken : NameTooLong;
}

bool MayInstallIntoFolder(bool administrator, unsigned long attributes, const unsigned char* descriptor, size_t size,
                          const unsigned char* user) {
  if (!administrator || attributes == 0xFFFFFFFFul) return true;
  // FILE_ATTRIBUTE_REPARSE_POINT; a descriptor is at least as long as the
  // owner's offset from its start, four bytes (little-endian) after its
  // revision and control, 0 when it names none.
  if ((attributes & 0x400) || size < 8) return false;
  size_t offset = descriptor[4] | descriptor[5] << 8 | descriptor[6] << 16 | (size_t)descriptor[7] << 24;
  if (offset == 0 || offset >= size) return false;
  descriptor += offset;
  size -= offset;
  return IsSidAmong(descriptor, size, kKnownSids, kKnownSidCount) ||
         (user != nullptr && IsSidAmong(descriptor, size, user, 1));
}
