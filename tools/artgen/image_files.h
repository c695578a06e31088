// The two picture formats the installer's resources need, written byte for
// byte: a 24-bit Windows bitmap file and a 16-colour icon file.
#pragma once
#include <cstdint>
#include <vector>

// A true-colour picture, rows top to bottom, three bytes (red, green, blue)
// per pixel.
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;
};

// A square 16-colour icon picture, rows top to bottom: one palette index
// (0..15) per pixel, or kClear where the icon is transparent.
struct IconImage {
  int size = 0;
  std::vector<uint8_t> pixels;
};
constexpr uint8_t kClear = 0xFF;

// The standard 16-colour palette (red, green, blue), in the order every
// 16-colour icon of the system uses.
extern const uint8_t kIconPalette[16][3];

// A bitmap file: file header, BITMAPINFOHEADER, no colour table, rows
// bottom-up in blue-green-red order, each padded to four bytes.
std::vector<uint8_t> EncodeBmp24(const RgbImage& image);

// An icon file with one 4-bit image per entry, each with its AND mask
// (transparent pixels set in the mask and black in the colour bits).
std::vector<uint8_t> EncodeIco(const std::vector<IconImage>& images);
