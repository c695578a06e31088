// The free-space and progress-meter arithmetic on any numbers.
// Free space: exactly the product divided by 1000 and rounded down, held as
// the largest 32-bit value when it is larger, and its label refused whole
// when its buffer is too small. Meter: the increment is the width divided
// by the step count to four decimals, the fill edge only grows and never
// passes the width, the first step draws nothing, and for up to 99 steps
// the last one reaches the full width (beyond, the four decimals can fall
// a pixel short).
#include <fuzzer/FuzzedDataProvider.h>
#include <stdint.h>

#include <string>

#include "destination/drive_list.h"
#include "install/meter_count.h"
#include "tests/fuzz/fuzz_buffer.h"

namespace {

void CheckFreeSpace(FuzzedDataProvider& in) {
  const bool queried = in.ConsumeBool();
  const uint32_t sectors = in.ConsumeIntegral<uint32_t>();
  const uint32_t bytes = in.ConsumeIntegral<uint32_t>();
  const uint32_t clusters = in.ConsumeIntegral<uint32_t>();
  const unsigned __int128 product = (unsigned __int128)sectors * bytes * clusters;
  const unsigned __int128 thousands = product / 1000;
  const uint32_t expected = !queried ? 0 : thousands > UINT32_MAX ? UINT32_MAX : uint32_t(thousands);
  const uint32_t freeKB = FreeKBFromClusters(queried, sectors, bytes, clusters);
  FUZZ_CHECK(freeKB == expected);
  FUZZ_CHECK(HasRoomForInstall(freeKB) == (queried && product >= 1400 * 1000));

  char text[80];
  snprintf(text, sizeof(text), " Available: %lu KB, Required: %d KB", (unsigned long)freeKB, int(kRequiredKB));
  const size_t size = in.ConsumeIntegralInRange<size_t>(0, sizeof(text));
  EdgeBuffer label(size);
  memset(label.data(), '#', size);
  const std::string before = label.Snapshot();
  const bool accepted = FormatFreeSpaceLabel(label.data(), size, freeKB);
  FUZZ_CHECK(accepted == (strlen(text) < size));
  if (accepted) {
    FUZZ_CHECK(strcmp(label.data(), text) == 0);
  } else {
    FUZZ_CHECK(label.Same(before));
  }
}

// The increment as a count of ten-thousandths of a pixel.
int64_t IncrementTenThousandths(const MeterCount& meter) {
  int64_t value = 0;
  for (int k = 0; k < kMeterDigits; ++k) {
    if (k > 0) FUZZ_CHECK(meter.increment[k] >= 0 && meter.increment[k] <= 9);
    value = value * 10 + meter.increment[k];
  }
  return value;
}

void CheckMeter(FuzzedDataProvider& in) {
  // Any numbers for the division; widths of real controls for stepping,
  // which moves the edge one pixel at a time.
  const int anyWidth = in.ConsumeIntegral<int>();
  const int anySteps = in.ConsumeIntegral<int>();
  MeterCount meter;
  MeterCountStart(&meter, anyWidth, anySteps);
  const int64_t width = anyWidth < 0 ? 0 : anyWidth;
  const int64_t expected = anySteps > 0 ? width * 10000 / anySteps : 0;
  FUZZ_CHECK(meter.width == width && meter.fillRight == 0 && meter.stepNo == 1);
  FUZZ_CHECK(IncrementTenThousandths(meter) == expected);

  const int controlWidth = in.ConsumeIntegralInRange<int>(-10, 4096);
  const int steps = in.ConsumeIntegralInRange<int>(-2, 3000);
  MeterCountStart(&meter, controlWidth, steps);
  const int full = controlWidth < 0 ? 0 : controlWidth;
  const int advances = (steps > 0 ? steps + 1 : 1) + in.ConsumeIntegralInRange<int>(0, 3);
  int previous = 0;
  for (int i = 1; i <= advances; ++i) {
    MeterCountAdvance(&meter);
    FUZZ_CHECK(meter.fillRight >= previous && meter.fillRight <= full);
    // Nothing at the first step, nor ever without a step count; all of
    // the width after the last one.
    if (i == 1 || steps < 1) FUZZ_CHECK(meter.fillRight == 0);
    if (i == steps + 1 && steps >= 1 && steps <= 99) FUZZ_CHECK(meter.fillRight == full);
    previous = meter.fillRight;

    int percent = -1;
    const bool shown = MeterCountPercent(&meter, &percent);
    FUZZ_CHECK(shown == (i <= kMeterTotal));
    if (shown) FUZZ_CHECK(percent > 0 && percent <= 100 && (percent == 100) == (i == kMeterTotal));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  CheckFreeSpace(in);
  CheckMeter(in);
  return 0;
}
