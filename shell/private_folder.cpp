#include "shell/private_folder.h"

#include "shell/bounded_text.h"

bool MakePrivateFolder(char* folder, size_t size, const char* parent, unsigned first) {
  unsigned number = first & 0xFFFF;
  for (int tries = 0; tries < 100; ++tries, number = (number + 1) & 0xFFFF) {
    char name[16] = "nvu";
    if (!AppendNumber(name, sizeof(name), number) || !AppendText(name, ".tmp") ||
        !ComposeTempFile(folder, size, parent, name)) {
      break;
    }
    if (CreateDirectoryA(folder, nullptr)) return true;
    if (GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  folder[0] = '\0';
  return false;
}
