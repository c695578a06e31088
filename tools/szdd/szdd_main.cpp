// szdd: compresses files into the Microsoft compress format (SZDD, mode A)
// and expands them again.
//   szdd compress IN OUT   the header character is the last one of IN's name
//   szdd expand IN OUT
#include <stdio.h>
#include <string.h>

#include <vector>

#include "tools/szdd/szdd_decode.h"
#include "tools/szdd/szdd_encode.h"

namespace {

bool ReadWholeFile(const char* path, std::vector<uint8_t>* bytes) {
  FILE* f = fopen(path, "rb");
  if (!f) return false;
  bytes->clear();
  uint8_t chunk[1 << 16];
  size_t got;
  while ((got = fread(chunk, 1, sizeof chunk, f)) > 0) bytes->insert(bytes->end(), chunk, chunk + got);
  const bool ok = !ferror(f);
  fclose(f);
  return ok;
}

// A failed or short write removes the output, so that no partial file is
// taken for a good one.
bool WriteWholeFile(const char* path, const std::vector<uint8_t>& bytes) {
  FILE* f = fopen(path, "wb");
  if (!f) return false;
  bool ok = bytes.empty() || fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = (fclose(f) == 0) && ok;
  if (!ok) remove(path);
  return ok;
}

int Usage() {
  fprintf(stderr, "usage: szdd compress IN OUT\n       szdd expand IN OUT\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return Usage();
  const bool compress = strcmp(argv[1], "compress") == 0;
  if (!compress && strcmp(argv[1], "expand") != 0) return Usage();
  const char* in = argv[2];
  const char* out = argv[3];

  std::vector<uint8_t> input, output;
  if (!ReadWholeFile(in, &input)) {
    perror(in);
    return 1;
  }
  const szdd::Status status =
      compress ? szdd::Compress(input.data(), input.size(), szdd::HeaderCharForName(in), &output)
               : szdd::Expand(input.data(), input.size(), &output);
  if (status != szdd::Status::Ok) {
    fprintf(stderr, "szdd: %s: %s\n", in, szdd::StatusText(status));
    return 1;
  }
  if (!WriteWholeFile(out, output)) {
    perror(out);
    return 1;
  }
  return 0;
}
