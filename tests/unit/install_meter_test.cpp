#include "install/meter_count.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Trace {
  std::vector<int> edges;
  std::vector<int> percents;  // -1 where no text is drawn
};

Trace StepMeter(int width, int steps, int calls) {
  MeterCount meter;
  MeterCountStart(&meter, width, steps);
  Trace trace;
  for (int i = 0; i < calls; ++i) {
    MeterCountAdvance(&meter);
    trace.edges.push_back(meter.fillRight);
    int percent = -1;
    if (!MeterCountPercent(&meter, &percent)) percent = -1;
    trace.percents.push_back(percent);
  }
  return trace;
}

TEST(MeterCount, WorkedExampleOf440PixelsInSixWidthSteps) {
  MeterCount meter;
  MeterCountStart(&meter, 440, 6);
  EXPECT_EQ(std::vector<int>(meter.increment, meter.increment + kMeterDigits), (std::vector<int>{73, 3, 3, 3, 3}));

  Trace trace = StepMeter(440, 6, 7);
  EXPECT_EQ(trace.edges, (std::vector<int>{0, 73, 146, 220, 293, 366, 440}));
  // Truncated, not rounded: 28, 42 and 85 where rounding gives 29, 43, 86.
  EXPECT_EQ(trace.percents, (std::vector<int>{14, 28, 42, 57, 71, 85, 100}));
  // Step 4 is where all four decimals carry: 74 pixels at once.
  EXPECT_EQ(trace.edges[3] - trace.edges[2], 74);
}

TEST(MeterCount, StepsPastTheTotalFillButShowAndCountNothing) {
  MeterCount meter;
  MeterCountStart(&meter, 440, 6);
  int percent = 0;
  for (int i = 0; i < 7; ++i) {
    MeterCountAdvance(&meter);
    ASSERT_TRUE(MeterCountPercent(&meter, &percent));
  }
  EXPECT_EQ(meter.stepNo, 8);
  percent = -7;
  MeterCountAdvance(&meter);
  EXPECT_FALSE(MeterCountPercent(&meter, &percent));
  EXPECT_EQ(percent, -7);
  EXPECT_EQ(meter.stepNo, 8);
  EXPECT_EQ(meter.fillRight, 440);  // still filled, never past the width
}

TEST(MeterCount, NarrowMetersGrowByCarriesOnly) {
  EXPECT_EQ(StepMeter(5, 6, 7).edges, (std::vector<int>{0, 1, 2, 3, 4, 4, 5}));
  Trace empty = StepMeter(0, 6, 9);
  EXPECT_EQ(empty.edges, std::vector<int>(9, 0));
  EXPECT_EQ(empty.percents, (std::vector<int>{14, 28, 42, 57, 71, 85, 100, -1, -1}));
}

TEST(MeterCount, SixWidthStepsReachEveryWidthExactlyAtTheSeventhStep) {
  for (int width = 0; width <= 2000; ++width) {
    Trace trace = StepMeter(width, 6, 9);
    ASSERT_EQ(trace.edges[0], 0) << width;
    ASSERT_EQ(trace.edges[6], width) << width;
    for (size_t i = 1; i < trace.edges.size(); ++i) {
      ASSERT_GE(trace.edges[i], trace.edges[i - 1]) << width;
      ASSERT_LE(trace.edges[i], width) << width;
    }
  }
}

// The same holds for other step counts: n width steps take n + 1 calls.
TEST(MeterCount, AnyStepCountFillsExactlyAfterOneMoreCall) {
  for (int steps = 1; steps <= 12; ++steps) {
    for (int width = 0; width <= 700; ++width) {
      Trace trace = StepMeter(width, steps, steps + 1);
      ASSERT_EQ(trace.edges.back(), width) << width << " in " << steps;
    }
  }
}

TEST(MeterCount, NoStepsOrNegativeWidthNeverDivideOrMove) {
  for (int steps : {0, -3}) {
    Trace trace = StepMeter(440, steps, 8);
    EXPECT_EQ(trace.edges, std::vector<int>(8, 0));
    EXPECT_EQ(trace.percents[0], 14);
  }
  Trace negative = StepMeter(-20, 6, 7);
  EXPECT_EQ(negative.edges, std::vector<int>(7, 0));
}

TEST(MeterCount, TextIsCentredWithEachHalfTruncated) {
  EXPECT_EQ(MeterTextLeft(440, 14), 213);
  EXPECT_EQ(MeterTextLeft(441, 15), 213);  // 220 - 7
  EXPECT_EQ(MeterTextLeft(438, 21), 209);  // 219 - 10
  EXPECT_EQ(MeterTextLeft(10, 30), -10);   // wider than the meter: starts left of it
}

}  // namespace
