#include "tools/szdd/szdd_encode.h"

#include <string.h>

#include "tools/szdd/szdd_match.h"

namespace szdd {

namespace {

// Costs in bits: a flag bit and the item's bytes.
constexpr uint64_t kLiteralBits = 1 + 8;
constexpr uint64_t kReferenceBits = 1 + 16;

// Chooses, from the end of the file back, the cheapest item at every
// position given the longest usable reference there. Any length from 3 to
// that longest one is available at the same distance. The whole file's cost
// in bits is B; its coded size is ceil(B / 8), because flag bytes round up
// exactly the bit count, so the smallest B is the smallest file.
// lengths[p] becomes the chosen length, 1 for a literal. Returns B.
uint64_t ChooseItems(uint8_t* lengths, size_t size) {
  constexpr size_t kSpan = kMaxMatch + 1;  // cost of p+1 ... p+18 kept
  uint64_t cost[kSpan] = {};
  for (size_t p = size; p-- > 0;) {
    uint64_t best = cost[(p + 1) % kSpan] + kLiteralBits;
    uint8_t choice = 1;
    for (unsigned length = lengths[p]; length >= kMinMatch; --length) {
      const uint64_t c = cost[(p + length) % kSpan] + kReferenceBits;
      if (c < best) {
        best = c;
        choice = uint8_t(length);
      }
    }
    cost[p % kSpan] = best;
    lengths[p] = choice;
  }
  return size ? cost[0] : 0;
}

}  // namespace

uint64_t CompressBound(size_t size) { return kHeaderSize + uint64_t(size) + (uint64_t(size) + 7) / 8; }

Status Compress(const uint8_t* data, size_t size, uint8_t missingChar, std::vector<uint8_t>* out) {
  out->clear();
  if (uint64_t(size) >> 32) return Status::InputTooLarge;  // the size field is 32 bits

  std::vector<uint8_t> lengths(size);
  std::vector<uint16_t> distances(size);
  FindLongestMatches(data, size, lengths.data(), distances.data());
  const uint64_t bits = ChooseItems(lengths.data(), size);

  out->resize(kHeaderSize + size_t((bits + 7) / 8));
  uint8_t* o = out->data();
  WriteHeader(o, missingChar, uint32_t(size));
  size_t at = kHeaderSize;
  size_t flagAt = 0;
  unsigned bit = 8;
  for (size_t p = 0; p < size;) {
    if (bit == 8) {
      flagAt = at++;
      o[flagAt] = 0;
      bit = 0;
    }
    const unsigned length = lengths[p];
    if (length == 1) {
      o[flagAt] |= uint8_t(1u << bit);
      o[at++] = data[p];
    } else {
      // Ring position of the source: where file position p - d was written.
      const unsigned source = unsigned(kStartPosition + p + kWindowSize - distances[p]) & kWindowMask;
      o[at++] = uint8_t(source);
      o[at++] = uint8_t((source >> 4 & 0xF0) | (length - kMinMatch));
    }
    ++bit;
    p += length;
  }
  out->resize(at);
  return Status::Ok;
}

uint8_t HeaderCharForName(const char* path) {
  const char* name = path;
  for (const char* c = path; *c; ++c)
    if (*c == '/' || *c == '\\') name = c + 1;
  const size_t length = strlen(name);
  return length ? uint8_t(name[length - 1]) : 0;
}

}  // namespace szdd
