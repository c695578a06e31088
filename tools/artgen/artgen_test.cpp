#include <gtest/gtest.h>

#include <stdexcept>

#include "icons.h"
#include "image_files.h"
#include "lettering.h"
#include "side_panel.h"

namespace {

uint32_t Read32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}
uint16_t Read16(const std::vector<uint8_t>& b, size_t at) { return b[at] | b[at + 1] << 8; }

TEST(BitmapFile, HeadersDescribeA24BitPictureWithoutColourTable) {
  RgbImage image{5, 3, std::vector<uint8_t>(5 * 3 * 3, 0)};
  std::vector<uint8_t> file = EncodeBmp24(image);
  const uint32_t row = 16;  // 15 bytes of pixels padded to a whole word
  ASSERT_EQ(file.size(), 54 + row * 3);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(Read32(file, 2), file.size());
  EXPECT_EQ(Read32(file, 10), 54u);  // pixels straight after the headers
  EXPECT_EQ(Read32(file, 14), 40u);
  EXPECT_EQ(Read32(file, 18), 5u);
  EXPECT_EQ(Read32(file, 22), 3u);   // positive: bottom-up rows
  EXPECT_EQ(Read16(file, 26), 1);
  EXPECT_EQ(Read16(file, 28), 24);
  EXPECT_EQ(Read32(file, 30), 0u);   // uncompressed
  EXPECT_EQ(Read32(file, 34), row * 3);
  EXPECT_EQ(Read32(file, 46), 0u);   // no colour table
}

TEST(BitmapFile, RowsRunBottomUpInBlueGreenRedOrder) {
  RgbImage image{2, 2, std::vector<uint8_t>(12, 0)};
  image.rgb[0] = 255;                        // top-left red
  image.rgb[6 + 3 + 2] = 200;                // bottom-right blue
  std::vector<uint8_t> file = EncodeBmp24(image);
  const size_t bottom = 54, top = 54 + 8;    // rows of 6 bytes padded to 8
  EXPECT_EQ(file[top + 0], 0);
  EXPECT_EQ(file[top + 2], 255);
  EXPECT_EQ(file[bottom + 3], 200);
  EXPECT_EQ(file[bottom + 5], 0);
  EXPECT_EQ(file[top + 6], 0);               // padding stays zero
}

TEST(IconFile, DirectoryPointsAtEachImageWithDoubledHeight) {
  std::vector<uint8_t> file = EncodeIco({DrawSetupIcon(32), DrawSetupIcon(16)});
  EXPECT_EQ(Read16(file, 0), 0);
  EXPECT_EQ(Read16(file, 2), 1);
  ASSERT_EQ(Read16(file, 4), 2);
  size_t end = 6 + 2 * 16;
  for (int i = 0; i < 2; ++i) {
    const size_t entry = 6 + 16 * i;
    const uint32_t size = file[entry];
    EXPECT_EQ(file[entry + 1], size);
    EXPECT_EQ(file[entry + 2], 16);
    EXPECT_EQ(Read16(file, entry + 6), 4);
    const uint32_t bytes = Read32(file, entry + 8), offset = Read32(file, entry + 12);
    EXPECT_EQ(offset, end);  // images follow one another without gaps
    // Header, 16 colours, 4-bit colour rows and 1-bit mask rows, each padded.
    const uint32_t maskRow = 4;
    EXPECT_EQ(bytes, 40 + 64 + size / 2 * size + maskRow * size);
    EXPECT_EQ(Read32(file, offset), 40u);
    EXPECT_EQ(Read32(file, offset + 4), size);
    EXPECT_EQ(Read32(file, offset + 8), 2 * size);
    EXPECT_EQ(Read16(file, offset + 14), 4);
    end = offset + bytes;
  }
  EXPECT_EQ(end, file.size());
}

TEST(IconFile, ClearPixelsAreMaskedAndBlackOthersKeepTheirColour) {
  const char* rows[16];
  const char* clear = "................";
  for (auto& row : rows) row = clear;
  rows[0] = "wR..............";  // top row: white, red, then clear
  std::vector<uint8_t> file = EncodeIco({IconFromRows(rows, 16)});
  const size_t image = Read32(file, 18);
  const size_t colours = image + 40 + 64, mask = colours + 8 * 16;
  const size_t topColourRow = colours + 8 * 15, topMaskRow = mask + 4 * 15;
  EXPECT_EQ(file[topColourRow], 0xF9);     // white (15) then red (9), high nibble first
  EXPECT_EQ(file[topColourRow + 1], 0x00); // clear pixels are black in the colour bits
  EXPECT_EQ(file[topMaskRow], 0x3F);       // the two drawn pixels leave their bits clear
  EXPECT_EQ(file[topMaskRow + 1], 0xFF);
  EXPECT_EQ(file[mask], 0xFF);             // a bottom row that is all clear
  EXPECT_EQ(file[mask + 2], 0x00);         // mask row padding
  EXPECT_EQ(file[image + 40 + 9 * 4 + 2], 255);  // palette entry 9 is red, stored B G R 0
}

TEST(IconRows, MisdrawnRowsAreRefused) {
  const char* rows[16];
  const char* clear = "................";
  for (auto& row : rows) row = clear;
  rows[3] = "...............";
  EXPECT_THROW(IconFromRows(rows, 16), std::invalid_argument);
  rows[3] = "..............x.";
  EXPECT_THROW(IconFromRows(rows, 16), std::invalid_argument);
}

// Share of an icon's pixels that are of the given palette colours.
double Share(const IconImage& icon, std::initializer_list<int> colours) {
  int count = 0;
  for (uint8_t p : icon.pixels) {
    for (int c : colours) count += p == c;
  }
  return double(count) / icon.pixels.size();
}

int OpaqueInRow(const IconImage& icon, int y) {
  int count = 0;
  for (int x = 0; x < icon.size; ++x) count += icon.pixels[y * icon.size + x] != kClear;
  return count;
}

TEST(Icons, FoldersShowTheirColoursAndTheArrowPointsUp) {
  const int yellow = 11, olive = 3, green = 10, darkGreen = 2;
  EXPECT_GT(Share(DrawFolderIcon(), {yellow, olive}), 0.35);
  EXPECT_EQ(Share(DrawFolderIcon(), {green, darkGreen}), 0);
  EXPECT_GT(Share(DrawTargetIcon(), {green, darkGreen}), 0.35);
  EXPECT_EQ(Share(DrawTargetIcon(), {yellow, olive}), 0);
  // The head widens row by row from the tip, then the shaft is narrower.
  IconImage up = DrawUpIcon();
  for (int y = 2; y <= 7; ++y) EXPECT_GT(OpaqueInRow(up, y), OpaqueInRow(up, y - 1)) << y;
  EXPECT_LT(OpaqueInRow(up, 10), OpaqueInRow(up, 7));
  // Every icon keeps transparent corners, so it sits on any background.
  for (const IconImage& icon : {DrawSetupIcon(32), DrawSetupIcon(16), DrawUpIcon()}) {
    EXPECT_EQ(icon.pixels[0], kClear);
    EXPECT_EQ(icon.pixels[icon.size * icon.size - 1], kClear);
  }
}

TEST(Lettering, StemsAreInkAndCountersAreNot) {
  const double weight = 0.085;
  EXPECT_LT(GlyphDistance('N', {weight, 0.5}, weight), 0);     // left stem
  EXPECT_GT(GlyphDistance('N', {0.25, 0.1}, weight), 0);       // beside the diagonal
  EXPECT_GT(GlyphDistance('o', {0.37, 0.35}, weight), 0);      // the hole of the o
  EXPECT_LT(GlyphDistance('o', {0.37, weight / 2}, weight), 0);
  EXPECT_GT(GlyphDistance('u', {0.32, 0.6}, weight), 0);       // open at the top
  EXPECT_FALSE(HasGlyph('x'));
  EXPECT_GT(GlyphDistance('x', {0.2, 0.2}, weight), 1);
  // Text places letters one after another: the second letter is found there.
  const double second = GlyphWidth('N', weight) + 0.1;
  EXPECT_LT(TextDistance("NN", {second + weight, 0.5}, weight, 0.1), 0);
  EXPECT_GT(TextDistance("NN", {second - 0.05, 0.5}, weight, 0.1), 0);
  EXPECT_NEAR(TextWidth("NN", weight, 0.1), second + GlyphWidth('N', weight), 1e-9);
}

double Luminance(const RgbImage& image, int x, int y) {
  const uint8_t* p = &image.rgb[(y * image.width + x) * 3];
  return 0.3 * p[0] + 0.59 * p[1] + 0.11 * p[2];
}

TEST(SidePanel, NameStandsOutAndButtonsStayOnCalmGround) {
  RgbImage panel = DrawSidePanel();
  ASSERT_EQ(panel.width, kPanelWidth);
  ASSERT_EQ(panel.height, kPanelHeight);
  ASSERT_EQ(panel.rgb.size(), size_t(kPanelWidth * kPanelHeight * 3));
  // The name in the top band, above where the licence text box begins.
  int bright = 0;
  for (int y = 6; y < 30; ++y) {
    for (int x = 42; x < 125; ++x) bright += Luminance(panel, x, y) > 200;
  }
  EXPECT_GT(bright, 300);
  // Around the buttons at the bottom the picture is dark and even.
  double sum = 0, most = 0;
  for (int y = 350; y < 380; ++y) {
    for (int x = 180; x < 370; ++x) {
      sum += Luminance(panel, x, y);
      most = std::max(most, Luminance(panel, x, y));
    }
  }
  EXPECT_LT(sum / (30 * 190), 40);
  EXPECT_LT(most, 90);
  // Not a flat fill: the sky changes from top to bottom and across.
  EXPECT_GT(std::abs(Luminance(panel, 300, 100) - Luminance(panel, 300, 5)), 15);
  EXPECT_EQ(EncodeBmp24(panel), EncodeBmp24(DrawSidePanel()));  // the same every time
}

}  // namespace
