// The backdrop's vertical blue gradient, computed on plain bytes.
#pragma once
#include <stddef.h>

// Bytes per pixel row of a device-independent bitmap: rows are padded to a
// multiple of four bytes.
int DibStride(int width, int bitsPerPixel);

// Rows per shade minus one: each shade covers GradientStep + 1 rows.
int GradientStep(int height);

// Colour index of row r counted in memory order (the bottom row first):
// 255 at the bottom, one darker every GradientStep + 1 rows.
int GradientShade(int row, int height);

// Fills an 8-bit bottom-up image with the gradient. Only the first width
// bytes of each row are written; the padding up to the stride is left alone.
void FillGradient(unsigned char* bits, int width, int height, int stride);
