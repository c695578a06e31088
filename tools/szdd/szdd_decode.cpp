#include "tools/szdd/szdd_decode.h"

#include <string.h>

namespace szdd {

uint64_t MaxExpansion(size_t dataSize) {
  const uint64_t groups = dataSize / 17 + 1;  // a flag byte and 8 x 2 bytes
  return groups * 8 * kMaxMatch;
}

Status Expand(const uint8_t* file, size_t size, uint8_t* out, size_t capacity, size_t* written) {
  *written = 0;
  Header header;
  Status status = ReadHeader(file, size, &header);
  if (status != Status::Ok) return status;
  if (header.expandedSize > capacity) return Status::OutputTooSmall;

  uint8_t ring[kWindowSize];
  memset(ring, kFillByte, sizeof ring);
  unsigned writePos = kStartPosition;
  const size_t total = header.expandedSize;
  size_t in = kHeaderSize;
  size_t done = 0;
  auto put = [&](uint8_t b) {
    ring[writePos] = b;
    writePos = (writePos + 1) & kWindowMask;
    out[done++] = b;
  };

  while (done < total) {
    if (in >= size) break;
    unsigned flags = file[in++];
    for (int bit = 0; bit < 8 && done < total; ++bit, flags >>= 1) {
      if (flags & 1) {
        if (in >= size) break;
        put(file[in++]);
      } else {
        if (size - in < 2) {
          in = size;
          break;
        }
        const unsigned low = file[in], high = file[in + 1];
        in += 2;
        const unsigned source = low | (high & 0xF0) << 4;
        const unsigned length = (high & 0x0F) + kMinMatch;
        for (unsigned k = 0; k < length && done < total; ++k) put(ring[(source + k) & kWindowMask]);
      }
    }
  }
  *written = done;
  return done == total ? Status::Ok : Status::Truncated;
}

Status Expand(const uint8_t* file, size_t size, std::vector<uint8_t>* out) {
  out->clear();
  Header header;
  Status status = ReadHeader(file, size, &header);
  if (status != Status::Ok) return status;
  if (header.expandedSize > MaxExpansion(size - kHeaderSize)) return Status::Truncated;
  out->resize(header.expandedSize);
  size_t written = 0;
  status = Expand(file, size, out->data(), out->size(), &written);
  out->resize(written);
  return status;
}

}  // namespace szdd
