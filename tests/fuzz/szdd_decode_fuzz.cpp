// The SZDD decoder on arbitrary bytes: it rejects or decodes, never reads
// past the file nor writes past its output, never writes more than the
// header's expanded size, and says Ok only with the whole size written.
// Both entry points agree, and bytes after a complete file change nothing.
#include <stdint.h>

#include <vector>

#include "tests/fuzz/fuzz_buffer.h"
#include "tools/szdd/szdd_decode.h"

using namespace szdd;

namespace {

// The most output a test gives the decoder: enough for every file the
// fuzzer can make a whole one of, far less than a hostile header can claim.
const size_t kMaxOutput = 1 << 20;

bool IsStatus(Status s) {
  return s == Status::Ok || s == Status::NotSzdd || s == Status::UnknownMode || s == Status::Truncated ||
         s == Status::OutputTooSmall;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EdgeBuffer file(data, size);
  Header header = {};
  const Status headerStatus = ReadHeader(file.bytes(), size, &header);

  // An output that ends where its block ends, sized from the header when it
  // can be, else one byte short of it, so that both paths are taken.
  size_t capacity = 64;
  if (headerStatus == Status::Ok) {
    capacity = header.expandedSize <= kMaxOutput ? header.expandedSize : kMaxOutput;
    if (size % 7 == 0 && capacity > 0) --capacity;
  }
  EdgeBuffer out(capacity);
  size_t written = 12345;
  const Status status = Expand(file.bytes(), size, out.bytes(), capacity, &written);

  FUZZ_CHECK(IsStatus(status));
  FUZZ_CHECK(written <= capacity);
  if (headerStatus != Status::Ok) {
    FUZZ_CHECK(status == headerStatus && written == 0);
    return 0;
  }
  FUZZ_CHECK(written <= header.expandedSize);
  FUZZ_CHECK((status == Status::OutputTooSmall) == (header.expandedSize > capacity));
  if (status == Status::OutputTooSmall) FUZZ_CHECK(written == 0);
  FUZZ_CHECK((status == Status::Ok) == (written == header.expandedSize));

  // The vector form refuses early only what could not decode anyway.
  std::vector<uint8_t> expanded;
  const Status vectorStatus = Expand(file.bytes(), size, &expanded);
  FUZZ_CHECK(IsStatus(vectorStatus) && vectorStatus != Status::OutputTooSmall);
  FUZZ_CHECK(expanded.size() <= header.expandedSize);
  if (status == Status::Ok) {
    FUZZ_CHECK(vectorStatus == Status::Ok);
    FUZZ_CHECK(expanded.size() == written && SameBytes(expanded.data(), out.data(), written));

    // The decoder stops at the expanded size: what follows is not read.
    std::vector<uint8_t> longer(data, data + size);
    longer.insert(longer.end(), {0x00, 0xFF, 0x00, 0x00});
    std::vector<uint8_t> again;
    FUZZ_CHECK(Expand(longer.data(), longer.size(), &again) == Status::Ok && again == expanded);
  } else if (status == Status::Truncated) {
    FUZZ_CHECK(vectorStatus == Status::Truncated);
    FUZZ_CHECK(expanded.empty() || (expanded.size() == written && SameBytes(expanded.data(), out.data(), written)));
  }
  return 0;
}
