#include "install/meter_count.h"

namespace {

// The next decimal of remainder / steps, leaving the new remainder. Ten times
// a remainder passes the int range for step counts above INT_MAX / 10, so it
// is built up by ten additions, each kept below twice the step count.
int NextDecimal(unsigned* remainder, unsigned steps) {
  unsigned tenfold = 0;
  int digit = 0;
  for (int i = 0; i < 10; ++i) {
    tenfold += *remainder;
    if (tenfold >= steps) {
      tenfold -= steps;
      ++digit;
    }
  }
  *remainder = tenfold;
  return digit;
}

}  // namespace

void MeterCountStart(MeterCount* meter, int width, int steps) {
  if (width < 0) width = 0;
  meter->width = width;
  meter->total = kMeterTotal;
  meter->stepNo = 1;
  // Long division: the whole part, then one decimal from each remainder.
  unsigned divisor = steps > 0 ? (unsigned)steps : 0;
  unsigned remainder = divisor ? (unsigned)width % divisor : 0;
  meter->increment[0] = divisor ? width / steps : 0;
  for (int k = 1; k < kMeterDigits; ++k) meter->increment[k] = divisor ? NextDecimal(&remainder, divisor) : 0;
  for (int k = 0; k < kMeterDigits; ++k) meter->digits[k] = 0;
  meter->fillRight = 0;
}

void MeterCountAdvance(MeterCount* meter) {
  int* digits = meter->digits;
  // Decimals lowest first; a position holds at most 9 + 1 + 9, so one carry
  // each is enough. The carry out of the tenths is a whole pixel.
  for (int t = kMeterDigits - 1; t >= 1; --t) {
    digits[t] += meter->increment[t];
    if (digits[t] > 9) {
      digits[t] -= 10;
      digits[t - 1] += 1;
    }
  }
  while (digits[0] != 0) {
    meter->fillRight = meter->fillRight < meter->width - 1 ? meter->fillRight + 1 : meter->width;
    digits[0] -= 1;
  }
  // The whole part is loaded after the pixels are drawn, so it shows at the
  // next step.
  digits[0] = meter->increment[0];
}

bool MeterCountPercent(MeterCount* meter, int* percent) {
  if (meter->stepNo > meter->total) return false;
  *percent = meter->stepNo * 100 / meter->total;
  meter->stepNo += 1;
  return true;
}

int MeterTextLeft(int width, int textWidth) { return width / 2 - textWidth / 2; }
