// Expansion of SZDD mode-A files: pure functions over byte spans that return
// a status, safe on any input (they never read past `size` nor write past
// `capacity`).
#pragma once
#include <stddef.h>
#include <stdint.h>

#include <vector>

#include "tools/szdd/szdd_format.h"

namespace szdd {

// The most bytes that `dataSize` bytes of coded data can expand to: every
// flag byte followed by eight references of the longest length.
uint64_t MaxExpansion(size_t dataSize);

// Expands a whole compressed file (header and data) into out. Decoding
// stops as soon as the header's expanded size is reached, as the system's
// expansion library does; bytes after that point are not read. A reference
// whose source overlaps the cells it writes is copied one byte at a time,
// reading each byte after the previous one was written. *written receives the
// number of bytes put into out, also when an error is returned.
Status Expand(const uint8_t* file, size_t size, uint8_t* out, size_t capacity, size_t* written);

// The same into a vector sized from the header. A header that claims more
// than the data could hold is refused before anything is allocated.
Status Expand(const uint8_t* file, size_t size, std::vector<uint8_t>* out);

}  // namespace szdd
