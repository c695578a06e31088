// The decoder on hand-made files: the coding's details, where it stops, and
// what it does with damaged or hostile input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/szdd/corpus.h"
#include "tools/szdd/szdd_decode.h"
#include "tools/szdd/szdd_encode.h"

using namespace szdd;

namespace {

std::vector<uint8_t> MakeFile(uint32_t expandedSize, const std::vector<uint8_t>& data, uint8_t c = 'x') {
  std::vector<uint8_t> file(kHeaderSize);
  WriteHeader(file.data(), c, expandedSize);
  file.insert(file.end(), data.begin(), data.end());
  return file;
}

std::string AsText(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

// Literals "xyz" (ring cells 4080-4082); a reference to cell 0, still holding
// the initial spaces; a reference back to "xyz"; and a reference to cell
// 4088 of length 4 that reads the two cells it writes first, which a
// byte-by-byte copy (as the system's library does) turns into "yzyz".
const std::vector<uint8_t> kCodedItems = {0x07, 'x', 'y', 'z', 0x00, 0x01, 0xF0, 0xF0, 0xF8, 0xF1};
const std::string kExpanded = "xyz    xyzyzyz";

}  // namespace

TEST(SzddHeader, ReadsTheCharacterAndLittleEndianSize) {
  const auto file = MakeFile(0x04030201, {}, 'e');
  EXPECT_EQ(AsText({file.begin(), file.begin() + 10}), std::string("SZDD\x88\xF0\x27\x33" "Ae", 10));
  Header header;
  ASSERT_EQ(ReadHeader(file.data(), file.size(), &header), Status::Ok);
  EXPECT_EQ(header.missingChar, 'e');
  EXPECT_EQ(header.expandedSize, 0x04030201u);
}

TEST(SzddHeader, RefusesShortFilesOtherMagicAndOtherModes) {
  const auto good = MakeFile(5, {0xFF, 'a', 'b', 'c', 'd', 'e'});
  Header header;
  for (size_t size = 0; size < kHeaderSize; ++size)
    EXPECT_EQ(ReadHeader(good.data(), size, &header), Status::NotSzdd) << size;
  for (size_t i = 0; i < 8; ++i) {
    auto bad = good;
    bad[i] ^= 0x01;
    EXPECT_EQ(ReadHeader(bad.data(), bad.size(), &header), Status::NotSzdd) << i;
  }
  auto other = good;
  other[8] = 'B';
  EXPECT_EQ(ReadHeader(other.data(), other.size(), &header), Status::UnknownMode);
  std::vector<uint8_t> out;
  EXPECT_EQ(Expand(other.data(), other.size(), &out), Status::UnknownMode);
}

TEST(SzddExpand, LiteralsFillReferencesAndByteByByteCopies) {
  const auto file = MakeFile(uint32_t(kExpanded.size()), kCodedItems);
  std::vector<uint8_t> out;
  ASSERT_EQ(Expand(file.data(), file.size(), &out), Status::Ok);
  EXPECT_EQ(AsText(out), kExpanded);

  const auto empty = MakeFile(0, {});
  EXPECT_EQ(Expand(empty.data(), empty.size(), &out), Status::Ok);
  EXPECT_TRUE(out.empty());
}

// The expanded size ends decoding, even inside a reference; whatever follows
// is not read.
TEST(SzddExpand, StopsAtTheExpandedSize) {
  std::vector<uint8_t> data = kCodedItems;
  data.insert(data.end(), {0x00, 0x12, 0x34});
  const auto file = MakeFile(12, data);
  std::vector<uint8_t> out;
  ASSERT_EQ(Expand(file.data(), file.size(), &out), Status::Ok);
  EXPECT_EQ(AsText(out), kExpanded.substr(0, 12));
}

TEST(SzddExpand, ReportsDataThatEndsEarlyWithWhatItDecoded) {
  const auto whole = MakeFile(uint32_t(kExpanded.size()), kCodedItems);
  for (size_t cut = kHeaderSize; cut < whole.size(); ++cut) {
    std::vector<uint8_t> out(kExpanded.size());
    size_t written = 99;
    EXPECT_EQ(Expand(whole.data(), cut, out.data(), out.size(), &written), Status::Truncated) << cut;
    ASSERT_LT(written, kExpanded.size());
    EXPECT_EQ(AsText({out.begin(), out.begin() + written}), kExpanded.substr(0, written));
  }
  // A size beyond anything the data could hold is refused before the output
  // is allocated: the size field is the only thing a fuzzer needs to change.
  const auto huge = MakeFile(0xFFFFFFFFu, kCodedItems);
  std::vector<uint8_t> out;
  EXPECT_EQ(Expand(huge.data(), huge.size(), &out), Status::Truncated);
  EXPECT_TRUE(out.empty());
}

TEST(SzddExpand, NeverWritesBeyondTheCallersBuffer) {
  const auto file = MakeFile(uint32_t(kExpanded.size()), kCodedItems);
  std::vector<uint8_t> out(kExpanded.size() - 1);
  size_t written = 99;
  EXPECT_EQ(Expand(file.data(), file.size(), out.data(), out.size(), &written), Status::OutputTooSmall);
  EXPECT_EQ(written, 0u);
}

// Random data behind a good header, and damaged copies of a real file: the
// decoder returns Ok with exactly the header's size, or an error, and under
// the sanitizers never reads or writes out of bounds.
TEST(SzddExpand, AnyBytesDecodeOrAreRefused) {
  TestRandom random(42);
  std::vector<uint8_t> out;
  for (int i = 0; i < 3000; ++i) {
    const auto data = random.Bytes(random.Below(200));
    const auto file = MakeFile(random.Below(2000), data);
    const Status status = Expand(file.data(), file.size(), &out);
    ASSERT_TRUE(status == Status::Ok || status == Status::Truncated);
    if (status == Status::Ok) {
      EXPECT_EQ(out.size(), size_t(file[10] | file[11] << 8));
    }
  }

  std::vector<uint8_t> good;
  const auto text = MakeText(20000, 1);
  ASSERT_EQ(Compress(text.data(), text.size(), 't', &good), Status::Ok);
  for (int i = 0; i < 3000; ++i) {
    auto bad = good;
    for (int n = 1 + random.Below(4); n > 0; --n) bad[random.Below(uint32_t(bad.size()))] = uint8_t(random.Next());
    bad.resize(random.Below(2) ? bad.size() : random.Below(uint32_t(bad.size())));
    const Status status = Expand(bad.data(), bad.size(), &out);
    Header header;
    if (status == Status::Ok) {
      ASSERT_EQ(ReadHeader(bad.data(), bad.size(), &header), Status::Ok);
      EXPECT_EQ(out.size(), header.expandedSize);
    }
  }
}
