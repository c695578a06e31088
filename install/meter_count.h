// The progress meter's arithmetic, apart from its drawing.
//
// The width is divided by the step count into a whole part and four
// decimals; each step adds the decimals (carries at once become pixels) and
// draws the whole part added at the step before. So whole-pixel steps add up
// to the full width, and the first of n + 1 steps draws no fill.
#pragma once

const int kMeterDigits = 5;  // [0] whole pixels, [1] to [4] tenths down to ten-thousandths
const int kMeterTotal = 7;   // the percentage counts seven files

struct MeterCount {
  int width;                    // client width of the meter in pixels
  int total;                    // divides the percentage
  int stepNo;                   // 1-based number of the next step
  int increment[kMeterDigits];  // width / steps in decimal digits
  int digits[kMeterDigits];     // whole pixels waiting, then the decimals
  int fillRight;                // the fill edge: columns 0 to fillRight - 1 are filled
};

// An empty bar, counter 1, the increment of width / steps. A width below 0
// counts as 0; a step count below 1 gives no increment instead of a division
// by zero.
void MeterCountStart(MeterCount* meter, int width, int steps);

// Adds one increment and moves the fill edge by the pixels due now; the fill
// edge never passes the width.
void MeterCountAdvance(MeterCount* meter);

// The percentage to show for the step just advanced, and counts it; false
// once the steps have passed the total, when nothing is shown or counted.
bool MeterCountPercent(MeterCount* meter, int* percent);

// Left edge of a text of textWidth pixels centred in the meter.
int MeterTextLeft(int width, int textWidth);
