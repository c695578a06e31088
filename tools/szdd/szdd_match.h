// The longest usable reference at every position of a file.
#pragma once
#include <stddef.h>
#include <stdint.h>

namespace szdd {

// A reference at file position p with distance d reads the ring cells that
// file positions p - d ... p - d + length - 1 were written to (or the initial
// spaces, for positions before the file). It is used only when its source
// cells and the cells it writes are disjoint: length <= d <= 4096 - length.
// Decoders that copy byte by byte and decoders that copy the whole source
// first then read it alike. Under that rule every shorter prefix of a
// usable reference is usable too, so the longest one bounds all choices.
//
// Fills lengths[p] with the longest usable length at p (0 when below 3) and
// distances[p] with a distance that reaches it.
void FindLongestMatches(const uint8_t* data, size_t size, uint8_t* lengths, uint16_t* distances);

// The byte that a source position reads: data or, before the file, a space.
inline uint8_t SourceByte(const uint8_t* data, ptrdiff_t position) {
  return position < 0 ? 0x20 : data[position];
}

}  // namespace szdd
