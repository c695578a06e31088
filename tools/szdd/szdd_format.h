// The Microsoft compress file layout ("SZDD", mode A) and its LZSS coding.
//
// A file is a 14-byte header followed by the coded data:
//   magic 53 5A 44 44 88 F0 27 33, mode 'A', the character that the
//   compressed name replaced with '_', the expanded size (u32, little-endian).
// The data is groups of one flag byte and up to eight items, the flag's bits
// read from the lowest: 1 = one literal byte, 0 = a two-byte reference to a
// ring buffer of 4096 bytes that starts filled with spaces and is written
// from position 4096 - 16 on. A reference holds the ring position (low 8
// bits in the first byte, high 4 bits in the upper nibble of the second) and
// the length less 3 in the low nibble of the second byte.
#pragma once
#include <stddef.h>
#include <stdint.h>

namespace szdd {

constexpr uint8_t kMagic[8] = {0x53, 0x5A, 0x44, 0x44, 0x88, 0xF0, 0x27, 0x33};
constexpr uint8_t kModeA = 'A';
constexpr size_t kHeaderSize = 14;

constexpr unsigned kWindowSize = 4096;
constexpr unsigned kWindowMask = kWindowSize - 1;
constexpr unsigned kStartPosition = kWindowSize - 16;
constexpr uint8_t kFillByte = 0x20;
constexpr unsigned kMinMatch = 3;
constexpr unsigned kMaxMatch = 18;

// Every codec call returns one of these; only Ok means the output is whole.
enum class Status {
  Ok,
  NotSzdd,         // too short for a header, or the magic is wrong
  UnknownMode,     // a mode other than 'A'
  Truncated,       // the data ends before the expanded size is reached
  OutputTooSmall,  // the caller's buffer cannot hold the expanded size
  InputTooLarge,   // more than the header's 32-bit size can describe
};

const char* StatusText(Status status);

struct Header {
  uint8_t missingChar;    // the character the compressed name replaced
  uint32_t expandedSize;  // bytes the data expands to
};

// Reads and checks the header at the start of a whole compressed file.
Status ReadHeader(const uint8_t* file, size_t size, Header* header);

// Writes the 14 header bytes to out.
void WriteHeader(uint8_t* out, uint8_t missingChar, uint32_t expandedSize);

}  // namespace szdd
