// artgen OUTPUT_DIR: writes the installer's pictures into OUTPUT_DIR:
// side_panel.bmp, setup.ico, folder.ico, folder_up.ico, folder_target.ico.
#include <cstdio>
#include <string>
#include <vector>

#include "icons.h"
#include "image_files.h"
#include "side_panel.h"

namespace {

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    std::perror(path.c_str());
    return false;
  }
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  written = std::fclose(file) == 0 && written;
  if (!written) std::fprintf(stderr, "artgen: could not write %s\n", path.c_str());
  return written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: artgen OUTPUT_DIR\n");
    return 2;
  }
  const std::string dir = std::string(argv[1]) + "/";
  bool ok = WriteFile(dir + "side_panel.bmp", EncodeBmp24(DrawSidePanel()));
  ok = WriteFile(dir + "setup.ico", EncodeIco({DrawSetupIcon(32), DrawSetupIcon(16)})) && ok;
  ok = WriteFile(dir + "folder.ico", EncodeIco({DrawFolderIcon()})) && ok;
  ok = WriteFile(dir + "folder_up.ico", EncodeIco({DrawUpIcon()})) && ok;
  ok = WriteFile(dir + "folder_target.ico", EncodeIco({DrawTargetIcon()})) && ok;
  return ok ? 0 : 1;
}
