// payloadgen OUTPUT_DIR: writes the product's generated files into
// OUTPUT_DIR: norvu.cfg, nvuhelp.hlp, nvustart.kbm and notice.wri.
#include <cstdio>
#include <string>

#include "payload/generator/payload_content.h"

namespace {

// A failed or short write removes the file, so that the build never takes a
// partial file for a good one.
bool WriteWholeFile(const std::string& path, const Bytes& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    std::perror(path.c_str());
    return false;
  }
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  ok = std::fclose(file) == 0 && ok;
  if (!ok) {
    std::fprintf(stderr, "payloadgen: could not write %s\n", path.c_str());
    std::remove(path.c_str());
  }
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: payloadgen OUTPUT_DIR\n");
    return 2;
  }
  bool ok = true;
  for (const GeneratedFile& file : kGeneratedFiles) {
    ok = WriteWholeFile(std::string(argv[1]) + "/" + file.name, file.make()) && ok;
  }
  return ok ? 0 : 1;
}
