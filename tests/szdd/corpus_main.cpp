// szdd_corpus DIR: writes the round-trip inputs into DIR.
#include <stdio.h>

#include <string>

#include "tests/szdd/corpus.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: szdd_corpus DIR\n");
    return 2;
  }
  for (const CorpusFile& file : MakeCorpus()) {
    const std::string path = std::string(argv[1]) + "/" + file.name;
    FILE* f = fopen(path.c_str(), "wb");
    bool ok = f && (file.bytes.empty() || fwrite(file.bytes.data(), 1, file.bytes.size(), f) == file.bytes.size());
    if (f) ok = fclose(f) == 0 && ok;
    if (!ok) {
      perror(path.c_str());
      return 1;
    }
  }
  return 0;
}
