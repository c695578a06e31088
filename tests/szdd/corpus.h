// The round-trip inputs: small and edge-sized files made from a fixed seed,
// the same on every run. Each name's last character varies so that the
// header character is exercised too.
#pragma once
#include <stdint.h>

#include <string>
#include <vector>

struct CorpusFile {
  std::string name;
  std::vector<uint8_t> bytes;
};

std::vector<CorpusFile> MakeCorpus();

// Deterministic pseudo-random bytes (xorshift), for tests and the corpus.
class TestRandom {
 public:
  explicit TestRandom(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
  uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return uint32_t(state_ >> 16);
  }
  uint32_t Below(uint32_t n) { return Next() % n; }
  std::vector<uint8_t> Bytes(size_t size, unsigned alphabet = 256);

 private:
  uint64_t state_;
};

// Text-like bytes: words from a small vocabulary, spaces and line breaks,
// so that references of every length and distance occur.
std::vector<uint8_t> MakeText(size_t size, uint64_t seed);
