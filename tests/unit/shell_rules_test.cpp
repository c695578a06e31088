#include <gtest/gtest.h>

#include <vector>

#include "shell/backdrop_gradient.h"
#include "shell/source_dir.h"

TEST(SourceDir, RootKeepsLetterAndColonLongerDirectoryStaysWhole) {
  char root[512] = "E:\\";
  TrimSourceRoot(root);
  EXPECT_STREQ(root, "E:");
  char dir[512] = "E:\\INSTALL";
  TrimSourceRoot(dir);
  EXPECT_STREQ(dir, "E:\\INSTALL");
  char four[512] = "E:\\A";
  TrimSourceRoot(four);
  EXPECT_STREQ(four, "E:\\A");
  char empty[512] = "";
  TrimSourceRoot(empty);
  EXPECT_STREQ(empty, "");
}

TEST(Gradient, StrideIsPaddedToFourBytes) {
  EXPECT_EQ(DibStride(640, 8), 640);
  EXPECT_EQ(DibStride(641, 8), 644);
  EXPECT_EQ(DibStride(1, 8), 4);
  EXPECT_EQ(DibStride(0, 8), 0);
}

// Renders a whole image and returns the shade of its top row.
static int TopShade(int width, int height) {
  int stride = DibStride(width, 8);
  std::vector<unsigned char> bits((size_t)stride * height, 0);
  FillGradient(bits.data(), width, height, stride);
  return bits[(size_t)(height - 1) * stride];
}

TEST(Gradient, TopRowShadeForCommonScreenHeights) {
  EXPECT_EQ(TopShade(640, 480), 16);
  EXPECT_EQ(TopShade(800, 600), 56);
  EXPECT_EQ(TopShade(1024, 768), 64);
  EXPECT_EQ(TopShade(1280, 1024), 51);
  EXPECT_EQ(TopShade(100, 100), 156);  // below 255 rows: one row per shade
}

TEST(Gradient, RowsInMemoryOrderGetDarkerUpwardAndNeverReachZero) {
  for (int height : {1, 2, 254, 255, 256, 480, 511, 768, 1024, 2160}) {
    int stride = DibStride(3, 8);
    std::vector<unsigned char> bits((size_t)stride * height, 0);
    FillGradient(bits.data(), 3, height, stride);
    for (int row = 0; row < height; ++row) {
      ASSERT_EQ(bits[(size_t)row * stride], GradientShade(row, height)) << height << " row " << row;
      ASSERT_GE(bits[(size_t)row * stride], 1);
    }
  }
  // 640 x 480: two rows per shade from the bottom.
  std::vector<unsigned char> bits(640 * 480);
  FillGradient(bits.data(), 640, 480, 640);
  EXPECT_EQ(bits[0], 255);
  EXPECT_EQ(bits[640], 255);
  EXPECT_EQ(bits[1280], 254);
  EXPECT_EQ(bits[1920], 254);
}

TEST(Gradient, PaddingBytesAreNotTouched) {
  const int width = 5, height = 300, stride = DibStride(width, 8);
  std::vector<unsigned char> bits((size_t)stride * height, 0xAB);
  FillGradient(bits.data(), width, height, stride);
  for (int row = 0; row < height; ++row)
    for (int x = width; x < stride; ++x) ASSERT_EQ(bits[(size_t)row * stride + x], 0xAB);
}
