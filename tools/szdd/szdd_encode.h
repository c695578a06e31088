// Compression into SZDD mode-A files with the smallest coded size.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include <vector>

#include "tools/szdd/szdd_format.h"

namespace szdd {

// Size of the largest file Compress can write for `size` input bytes: the
// header, every byte a literal, and one flag byte per eight.
uint64_t CompressBound(size_t size);

// Writes a whole compressed file for data into out (replacing its contents).
// The parse is a minimum-size one among references that every decoder reads
// alike (see FindLongestMatches). Fails only with InputTooLarge, for input
// that a 32-bit expanded size cannot describe.
Status Compress(const uint8_t* data, size_t size, uint8_t missingChar, std::vector<uint8_t>* out);

// The header character for a file name: its last character, which the
// compressed name replaces with '_'. Directories ('/' or '\') are ignored;
// 0 when the name is empty.
uint8_t HeaderCharForName(const char* path);

}  // namespace szdd
