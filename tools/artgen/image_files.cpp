#include "image_files.h"

#include <cstddef>

const uint8_t kIconPalette[16][3] = {
    {0, 0, 0},       {128, 0, 0},     {0, 128, 0},   {128, 128, 0},
    {0, 0, 128},     {128, 0, 128},   {0, 128, 128}, {192, 192, 192},
    {128, 128, 128}, {255, 0, 0},     {0, 255, 0},   {255, 255, 0},
    {0, 0, 255},     {255, 0, 255},   {0, 255, 255}, {255, 255, 255},
};

namespace {

void Put16(std::vector<uint8_t>& out, unsigned value) {
  out.push_back(value & 0xFF);
  out.push_back((value >> 8) & 0xFF);
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// Rows of bitmaps are padded to whole 32-bit words.
int RowBytes(int width, int bitsPerPixel) { return (width * bitsPerPixel + 31) / 32 * 4; }

void PutInfoHeader(std::vector<uint8_t>& out, int width, int height, int bits, uint32_t imageBytes,
                   int pixelsPerMetre) {
  Put32(out, 40);
  Put32(out, width);
  Put32(out, height);
  Put16(out, 1);     // planes
  Put16(out, bits);
  Put32(out, 0);     // BI_RGB
  Put32(out, imageBytes);
  Put32(out, pixelsPerMetre);
  Put32(out, pixelsPerMetre);
  Put32(out, 0);     // colours used: all that the bit count allows
  Put32(out, 0);     // important colours: all
}

uint32_t IconImageBytes(const IconImage& icon) {
  uint32_t colour = RowBytes(icon.size, 4) * icon.size;
  uint32_t mask = RowBytes(icon.size, 1) * icon.size;
  return 40 + 16 * 4 + colour + mask;
}

void PutIconImage(std::vector<uint8_t>& out, const IconImage& icon) {
  const int n = icon.size;
  const int colourRow = RowBytes(n, 4);
  const int maskRow = RowBytes(n, 1);
  // An icon's header counts the colour and the mask rows: twice the height.
  PutInfoHeader(out, n, 2 * n, 4, (colourRow + maskRow) * n, 0);
  for (const auto& c : kIconPalette) {
    out.push_back(c[2]);
    out.push_back(c[1]);
    out.push_back(c[0]);
    out.push_back(0);
  }
  for (int y = n - 1; y >= 0; --y) {
    std::vector<uint8_t> row(colourRow, 0);
    for (int x = 0; x < n; ++x) {
      uint8_t index = icon.pixels[y * n + x];
      if (index == kClear) index = 0;
      row[x / 2] |= (x % 2) ? (index & 0x0F) : (index & 0x0F) << 4;
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  for (int y = n - 1; y >= 0; --y) {
    std::vector<uint8_t> row(maskRow, 0);
    for (int x = 0; x < n; ++x) {
      if (icon.pixels[y * n + x] == kClear) row[x / 8] |= 0x80 >> (x % 8);
    }
    out.insert(out.end(), row.begin(), row.end());
  }
}

}  // namespace

std::vector<uint8_t> EncodeBmp24(const RgbImage& image) {
  const int row = RowBytes(image.width, 24);
  const uint32_t pixelBytes = row * image.height;
  std::vector<uint8_t> out;
  out.reserve(54 + pixelBytes);
  out.push_back('B');
  out.push_back('M');
  Put32(out, 54 + pixelBytes);
  Put32(out, 0);
  Put32(out, 54);
  PutInfoHeader(out, image.width, image.height, 24, pixelBytes, 3780);  // 96 dots per inch
  for (int y = image.height - 1; y >= 0; --y) {
    const uint8_t* source = &image.rgb[static_cast<size_t>(y) * image.width * 3];
    for (int x = 0; x < image.width; ++x) {
      out.push_back(source[3 * x + 2]);
      out.push_back(source[3 * x + 1]);
      out.push_back(source[3 * x]);
    }
    for (int pad = image.width * 3; pad < row; ++pad) out.push_back(0);
  }
  return out;
}

std::vector<uint8_t> EncodeIco(const std::vector<IconImage>& images) {
  std::vector<uint8_t> out;
  Put16(out, 0);  // reserved
  Put16(out, 1);  // icon, not cursor
  Put16(out, images.size());
  uint32_t offset = 6 + 16 * images.size();
  for (const IconImage& icon : images) {
    out.push_back(icon.size);  // a size of 256 would be written as 0; ours are small
    out.push_back(icon.size);
    out.push_back(16);  // colours
    out.push_back(0);
    Put16(out, 1);      // planes
    Put16(out, 4);      // bits per pixel
    Put32(out, IconImageBytes(icon));
    Put32(out, offset);
    offset += IconImageBytes(icon);
  }
  for (const IconImage& icon : images) PutIconImage(out, icon);
  return out;
}
