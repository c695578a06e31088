#include "tools/szdd/szdd_match.h"

#include <string.h>

#include <algorithm>
#include <vector>

#include "tools/szdd/szdd_format.h"

namespace szdd {

namespace {

constexpr unsigned kHashBits = 16;
// Farthest distance at which a reference of the shortest length is usable.
constexpr size_t kMaxDistance = kWindowSize - kMinMatch;

inline unsigned Hash3(const uint8_t* p) {
  const uint32_t v = uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
  return (v * 2654435761u) >> (32 - kHashBits);
}

}  // namespace

void FindLongestMatches(const uint8_t* data, size_t size, uint8_t* lengths, uint16_t* distances) {
  // The file behind a window's worth of the initial fill, so that sources
  // before the file's start are ordinary positions of one buffer.
  const size_t fill = kWindowSize;
  const size_t end = fill + size;
  std::vector<uint8_t> text(end);
  memset(text.data(), kFillByte, fill);
  if (size) memcpy(text.data() + fill, data, size);

  // Hash chains over the last window: prev is indexed by position modulo the
  // window, which is enough because no search looks farther back.
  std::vector<int64_t> head(size_t(1) << kHashBits, -1);
  std::vector<int64_t> prev(kWindowSize, -1);
  auto insert = [&](size_t t) {
    const unsigned h = Hash3(&text[t]);
    prev[t & kWindowMask] = head[h];
    head[h] = int64_t(t);
  };
  for (size_t t = 0; t < fill && t + 2 < end; ++t) insert(t);

  for (size_t p = 0; p < size; ++p) {
    const size_t t = fill + p;
    const size_t reach = std::min<size_t>(kMaxMatch, size - p);
    size_t best = 0, bestDistance = 0;
    if (reach >= kMinMatch) {
      const uint8_t* here = &text[t];
      for (int64_t candidate = head[Hash3(here)]; candidate >= 0; candidate = prev[candidate & kWindowMask]) {
        const size_t distance = t - size_t(candidate);
        if (distance > kMaxDistance) break;
        const size_t limit = std::min({reach, distance, kWindowSize - distance});
        if (limit <= best) continue;
        const uint8_t* there = &text[size_t(candidate)];
        if (there[best] != here[best]) continue;
        size_t length = 0;
        while (length < limit && there[length] == here[length]) ++length;
        if (length > best) {
          best = length;
          bestDistance = distance;
          if (best == reach) break;
        }
      }
    }
    lengths[p] = best >= kMinMatch ? uint8_t(best) : 0;
    distances[p] = best >= kMinMatch ? uint16_t(bestDistance) : 0;
    if (t + 2 < end) insert(t);
  }
}

}  // namespace szdd
