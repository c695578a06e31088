#include "tools/szdd/szdd_match.h"

#include <string.h>

#include <algorithm>
#include <vector>

#include "tools/szdd/szdd_format.h"

namespace szdd {

namespace {

// Hash chains at three key lengths. Every earlier position that shares at
// least K bytes with the current one is on the current position's chain of
// key length K, so the search walks the longest keys first and goes down a
// level only while a longer match could still hide there. The search stays
// exact; the short chains, long in repetitive files, are walked less often.
constexpr unsigned kKeyLengths[] = {3, 6, 12};
constexpr int kLevels = sizeof kKeyLengths / sizeof *kKeyLengths;
constexpr unsigned kKeyPadding = 16;  // bytes KeyHash may read
constexpr unsigned kHashBits = 16;
// Farthest distance at which a reference of the shortest length is usable.
constexpr size_t kMaxDistance = kWindowSize - kMinMatch;

inline uint64_t LoadLittleEndian(const uint8_t* p) {
  return uint64_t(p[0]) | uint64_t(p[1]) << 8 | uint64_t(p[2]) << 16 | uint64_t(p[3]) << 24 |
         uint64_t(p[4]) << 32 | uint64_t(p[5]) << 40 | uint64_t(p[6]) << 48 | uint64_t(p[7]) << 56;
}

// Hash of the first `length` bytes (3 to 16) of the 16 bytes low, high.
inline unsigned KeyHash(uint64_t low, uint64_t high, unsigned length) {
  if (length < 8) {
    low &= (uint64_t(1) << (8 * length)) - 1;
    high = 0;
  } else {
    high &= (uint64_t(1) << (8 * (length - 8))) - 1;
  }
  return unsigned(((low ^ high * 0xC2B2AE3D27D4EB4Full) * 0x9E3779B97F4A7C15ull) >> (64 - kHashBits));
}

// One level: the newest position of each hash, and for each position (by
// its place in the last window; no search looks farther back) the one
// before it with the same hash.
struct Chain {
  std::vector<int64_t> head = std::vector<int64_t>(size_t(1) << kHashBits, -1);
  std::vector<int64_t> prev = std::vector<int64_t>(kWindowSize, -1);
};

}  // namespace

void FindLongestMatches(const uint8_t* data, size_t size, uint8_t* lengths, uint16_t* distances) {
  // The file behind a window's worth of the initial fill, so that sources
  // before the file's start are ordinary positions of one buffer.
  const size_t fill = kWindowSize;
  const size_t end = fill + size;
  std::vector<uint8_t> text(end + kKeyPadding, 0);
  memset(text.data(), kFillByte, fill);
  if (size) memcpy(text.data() + fill, data, size);

  Chain chains[kLevels];
  unsigned hashes[kLevels];
  auto insert = [&](size_t t) {
    for (int level = 0; level < kLevels && t + kKeyLengths[level] <= end; ++level) {
      Chain& chain = chains[level];
      chain.prev[t & kWindowMask] = chain.head[hashes[level]];
      chain.head[hashes[level]] = int64_t(t);
    }
  };
  auto hash = [&](size_t t) {
    const uint64_t low = LoadLittleEndian(&text[t]), high = LoadLittleEndian(&text[t + 8]);
    for (int level = 0; level < kLevels; ++level) hashes[level] = KeyHash(low, high, kKeyLengths[level]);
  };
  for (size_t t = 0; t < fill; ++t) {
    hash(t);
    insert(t);
  }

  for (size_t p = 0; p < size; ++p) {
    const size_t t = fill + p;
    const uint8_t* here = &text[t];
    const size_t reach = std::min<size_t>(kMaxMatch, size - p);
    size_t best = 0, bestDistance = 0;
    hash(t);
    for (int level = kLevels - 1; level >= 0; --level) {
      if (kKeyLengths[level] > reach) continue;
      // Positions off the longer key's chain share fewer bytes than its key.
      const bool longerWalked = level + 1 < kLevels && kKeyLengths[level + 1] <= reach;
      const size_t target = longerWalked ? kKeyLengths[level + 1] - 1 : reach;
      const Chain& chain = chains[level];
      for (int64_t candidate = chain.head[hashes[level]]; candidate >= 0 && best < target;
           candidate = chain.prev[candidate & kWindowMask]) {
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
        }
      }
      if (best >= target) break;
    }
    lengths[p] = best >= kMinMatch ? uint8_t(best) : 0;
    distances[p] = best >= kMinMatch ? uint16_t(bestDistance) : 0;
    insert(t);
  }
}

}  // namespace szdd
