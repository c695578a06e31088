#include "tools/szdd/szdd_format.h"

#include <string.h>

namespace szdd {

const char* StatusText(Status status) {
  switch (status) {
    case Status::Ok: return "ok";
    case Status::NotSzdd: return "not an SZDD compressed file";
    case Status::UnknownMode: return "unknown compression mode (only mode A is known)";
    case Status::Truncated: return "compressed data ends before the expanded size";
    case Status::OutputTooSmall: return "output buffer smaller than the expanded size";
    case Status::InputTooLarge: return "input larger than 4 GiB - 1 bytes";
  }
  return "unknown status";
}

Status ReadHeader(const uint8_t* file, size_t size, Header* header) {
  if (size < kHeaderSize || memcmp(file, kMagic, sizeof kMagic) != 0) return Status::NotSzdd;
  if (file[8] != kModeA) return Status::UnknownMode;
  header->missingChar = file[9];
  header->expandedSize = uint32_t(file[10]) | uint32_t(file[11]) << 8 | uint32_t(file[12]) << 16 |
                         uint32_t(file[13]) << 24;
  return Status::Ok;
}

void WriteHeader(uint8_t* out, uint8_t missingChar, uint32_t expandedSize) {
  memcpy(out, kMagic, sizeof kMagic);
  out[8] = kModeA;
  out[9] = missingChar;
  for (int i = 0; i < 4; ++i) out[10 + i] = uint8_t(expandedSize >> (8 * i));
}

}  // namespace szdd
