#include "shell/backdrop_gradient.h"

#include <string.h>

int DibStride(int width, int bitsPerPixel) { return ((bitsPerPixel * width + 31) & ~31) / 8; }

int GradientStep(int height) { return height / 255; }

int GradientShade(int row, int height) { return 255 - row / (GradientStep(height) + 1); }

void FillGradient(unsigned char* bits, int width, int height, int stride) {
  if (bits == nullptr || width <= 0 || height <= 0 || stride < width) return;
  int step = GradientStep(height);
  int value = 255, counter = 0;
  for (int row = 0; row < height; ++row) {
    memset(bits + (size_t)row * stride, value, (size_t)width);
    if (counter < step) {
      ++counter;
    } else {
      --value;
      counter = 0;
    }
  }
}
