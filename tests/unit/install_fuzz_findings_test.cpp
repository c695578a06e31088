// Faults that fuzzing found in the copy page's pure arithmetic, kept as
// tests here once mended.
#include <gtest/gtest.h>
#include <limits.h>

#include "install/meter_count.h"

namespace {

// The increment as ten-thousandths of a pixel.
long long Increment(const MeterCount& meter) {
  long long value = 0;
  for (int k = 0; k < kMeterDigits; ++k) value = value * 10 + meter.increment[k];
  return value;
}

}  // namespace

// Step counts above INT_MAX / 10 made ten times a remainder overflow int
// (undefined behaviour, caught by the sanitizers): the decimals must still
// be the exact long division.
TEST(MeterCountFindings, HugeStepCountsDivideWithoutOverflow) {
  const struct {
    int width, steps;
  } cases[] = {
      {1611929300, 1611929301}, {INT_MAX - 1, INT_MAX}, {INT_MAX, INT_MAX / 10 + 1}, {300000000, 300000001}};
  for (const auto& c : cases) {
    MeterCount meter;
    MeterCountStart(&meter, c.width, c.steps);
    EXPECT_EQ(Increment(meter), (long long)c.width * 10000 / c.steps) << c.width << " / " << c.steps;
    for (int k = 1; k < kMeterDigits; ++k) {
      EXPECT_GE(meter.increment[k], 0);
      EXPECT_LE(meter.increment[k], 9);
    }
  }
  MeterCount meter;
  MeterCountStart(&meter, INT_MAX - 1, INT_MAX);
  EXPECT_EQ(meter.increment[0], 0);
  EXPECT_EQ(meter.increment[1], 9);  // 0.99999999953...: 0.9999
  EXPECT_EQ(meter.increment[4], 9);
}
