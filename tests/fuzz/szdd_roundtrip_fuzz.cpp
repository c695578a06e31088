// The SZDD encoder then the decoder give back any input: the compressed
// file is within the encoder's bound, its header tells the input's size and
// the character given, and it expands to the input exactly, also into an
// output of exactly that size.
#include <stdint.h>

#include <vector>

#include "tests/fuzz/fuzz_buffer.h"
#include "tools/szdd/szdd_decode.h"
#include "tools/szdd/szdd_encode.h"

using namespace szdd;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The first byte is the header character, the rest the file's content.
  const uint8_t missing = size ? data[0] : 0;
  EdgeBuffer input(size ? data + 1 : data, size ? size - 1 : 0);

  std::vector<uint8_t> compressed;
  FUZZ_CHECK(Compress(input.bytes(), input.size(), missing, &compressed) == Status::Ok);
  FUZZ_CHECK(compressed.size() <= CompressBound(input.size()));

  Header header = {};
  FUZZ_CHECK(ReadHeader(compressed.data(), compressed.size(), &header) == Status::Ok);
  FUZZ_CHECK(header.expandedSize == input.size() && header.missingChar == missing);

  EdgeBuffer file(compressed.data(), compressed.size());
  EdgeBuffer out(input.size());
  size_t written = 0;
  FUZZ_CHECK(Expand(file.bytes(), file.size(), out.bytes(), out.size(), &written) == Status::Ok);
  FUZZ_CHECK(written == input.size() && SameBytes(out.data(), input.data(), written));

  std::vector<uint8_t> expanded;
  FUZZ_CHECK(Expand(file.bytes(), file.size(), &expanded) == Status::Ok);
  FUZZ_CHECK(expanded.size() == input.size() && SameBytes(expanded.data(), input.data(), input.size()));
  return 0;
}
