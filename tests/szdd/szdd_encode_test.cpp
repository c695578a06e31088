// The encoder: exact round trips, references that read the same under any
// decoder, and a parse no larger than the smallest one possible.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/szdd/corpus.h"
#include "tools/szdd/szdd_decode.h"
#include "tools/szdd/szdd_encode.h"
#include "tools/szdd/szdd_match.h"

using namespace szdd;

namespace {

// A decoder of the other kind: it reads a reference's whole source before
// writing any of it. A reference that overlaps its own output decodes
// differently here than in the byte-by-byte decoder. Also checks that every
// reference stays clear of the cells it writes.
std::vector<uint8_t> ExpandReadingSourceFirst(const std::vector<uint8_t>& file, int* overlapping) {
  uint8_t ring[kWindowSize];
  std::fill(ring, ring + kWindowSize, kFillByte);
  unsigned writePos = kStartPosition;
  Header header;
  EXPECT_EQ(ReadHeader(file.data(), file.size(), &header), Status::Ok);
  std::vector<uint8_t> out;
  size_t in = kHeaderSize;
  *overlapping = 0;
  while (out.size() < header.expandedSize && in < file.size()) {
    unsigned flags = file[in++];
    for (int bit = 0; bit < 8 && out.size() < header.expandedSize && in < file.size(); ++bit, flags >>= 1) {
      uint8_t copy[kMaxMatch];
      unsigned length = 1;
      if (flags & 1) {
        copy[0] = file[in++];
      } else {
        if (in + 1 >= file.size()) break;
        const unsigned source = file[in] | (file[in + 1] & 0xF0) << 4;
        length = (file[in + 1] & 0x0F) + kMinMatch;
        in += 2;
        const unsigned distance = (writePos - source) & kWindowMask;
        if (distance < length || distance > kWindowSize - length) ++*overlapping;
        for (unsigned k = 0; k < length; ++k) copy[k] = ring[(source + k) & kWindowMask];
      }
      for (unsigned k = 0; k < length; ++k) {
        ring[writePos] = copy[k];
        writePos = (writePos + 1) & kWindowMask;
        out.push_back(copy[k]);
      }
    }
  }
  return out;
}

// Longest usable reference at p by trying every distance.
unsigned SlowLongestMatch(const std::vector<uint8_t>& data, size_t p) {
  unsigned best = 0;
  for (size_t d = 1; d < kWindowSize; ++d) {
    const size_t limit = std::min({size_t(kMaxMatch), data.size() - p, d, kWindowSize - d});
    size_t length = 0;
    while (length < limit && SourceByte(data.data(), ptrdiff_t(p - d + length)) == data[p + length]) ++length;
    if (length >= kMinMatch) best = std::max(best, unsigned(length));
  }
  return best;
}

// The smallest coded size in bytes, by the plain shortest-path recurrence
// over those lengths.
size_t SmallestCodedSize(const std::vector<uint8_t>& data, const std::vector<unsigned>& longest) {
  std::vector<uint64_t> bits(data.size() + 1, 0);
  for (size_t p = data.size(); p-- > 0;) {
    bits[p] = bits[p + 1] + 9;
    for (unsigned length = kMinMatch; length <= longest[p]; ++length) bits[p] = std::min(bits[p], bits[p + length] + 17);
  }
  return size_t((bits[0] + 7) / 8);
}

std::vector<uint8_t> Concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace

TEST(SzddCompress, CorpusRoundTripsWithUnambiguousReferences) {
  for (const CorpusFile& file : MakeCorpus()) {
    SCOPED_TRACE(file.name);
    std::vector<uint8_t> packed, unpacked;
    ASSERT_EQ(Compress(file.bytes.data(), file.bytes.size(), HeaderCharForName(file.name.c_str()), &packed),
              Status::Ok);
    EXPECT_LE(packed.size(), CompressBound(file.bytes.size()));
    Header header;
    ASSERT_EQ(ReadHeader(packed.data(), packed.size(), &header), Status::Ok);
    EXPECT_EQ(header.missingChar, uint8_t(file.name.back()));
    EXPECT_EQ(header.expandedSize, file.bytes.size());

    ASSERT_EQ(Expand(packed.data(), packed.size(), &unpacked), Status::Ok);
    EXPECT_TRUE(unpacked == file.bytes);
    int overlapping = 0;
    EXPECT_TRUE(ExpandReadingSourceFirst(packed, &overlapping) == file.bytes);
    EXPECT_EQ(overlapping, 0);
  }
}

// Eighteen spaces at the start are one reference into the initial fill.
TEST(SzddCompress, LeadingSpacesReferToTheInitialFill) {
  const std::vector<uint8_t> spaces(18, ' ');
  std::vector<uint8_t> packed;
  ASSERT_EQ(Compress(spaces.data(), spaces.size(), 't', &packed), Status::Ok);
  EXPECT_EQ(packed.size(), kHeaderSize + 3);
}

// Against an exhaustive search: the longest match found at each position,
// and the total size, which must equal the smallest possible. The inputs
// cross the point where the file starts overwriting the initial spaces.
TEST(SzddCompress, FindsEveryLongestMatchAndTheSmallestParse) {
  TestRandom random(9);
  // Long matches just inside the window's reach, where only short
  // references are usable, among many short ones nearer.
  const auto farRepeat = random.Bytes(4090, 4);
  const std::vector<std::vector<uint8_t>> inputs = {
      Concat(farRepeat, {farRepeat.begin(), farRepeat.begin() + 60}),
      Concat(std::vector<uint8_t>(21, ' '), MakeText(4700, 4)),
      random.Bytes(5200, 3),
      Concat(MakeText(4070, 8), std::vector<uint8_t>(300, ' ')),
      Concat(std::vector<uint8_t>(500, 'z'), random.Bytes(700, 2)),
  };
  for (const auto& data : inputs) {
    std::vector<uint8_t> lengths(data.size());
    std::vector<uint16_t> distances(data.size());
    FindLongestMatches(data.data(), data.size(), lengths.data(), distances.data());
    std::vector<unsigned> longest(data.size());
    for (size_t p = 0; p < data.size(); ++p) {
      longest[p] = SlowLongestMatch(data, p);
      ASSERT_EQ(lengths[p], longest[p]) << "at " << p;
      const size_t d = distances[p];
      for (size_t k = 0; k < lengths[p]; ++k)
        ASSERT_EQ(SourceByte(data.data(), ptrdiff_t(p - d + k)), data[p + k]) << "at " << p;
    }
    std::vector<uint8_t> packed;
    ASSERT_EQ(Compress(data.data(), data.size(), 'x', &packed), Status::Ok);
    EXPECT_EQ(packed.size() - kHeaderSize, SmallestCodedSize(data, longest));
  }
}

TEST(SzddCompress, HeaderCharacterIsTheNamesLast) {
  EXPECT_EQ(HeaderCharForName("payload/norvu.exe"), 'e');
  EXPECT_EQ(HeaderCharForName("C:\\tmp\\notice.wri"), 'i');
  EXPECT_EQ(HeaderCharForName("README"), 'E');
  EXPECT_EQ(HeaderCharForName("dir/"), 0);
  EXPECT_EQ(HeaderCharForName(""), 0);
}

// Only where a size can exceed 4 GiB (the native build).
#if SIZE_MAX > UINT32_MAX
TEST(SzddCompress, RefusesWhatTheSizeFieldCannotHold) {
  const uint8_t byte = 0;
  std::vector<uint8_t> packed(1);
  // The size is refused before any byte is read.
  EXPECT_EQ(Compress(&byte, size_t(uint64_t(1) << 32), 'x', &packed), Status::InputTooLarge);
  EXPECT_TRUE(packed.empty());
}
#endif
