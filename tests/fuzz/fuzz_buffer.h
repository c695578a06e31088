// Buffers for the fuzz targets that make any write or read past their end
// a fault AddressSanitizer reports: each ends exactly where its heap block
// ends.
#pragma once
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

class EdgeBuffer {
 public:
  explicit EdgeBuffer(size_t size) : size_(size), block_(static_cast<char*>(malloc(size ? size : 1))) {}
  EdgeBuffer(const void* bytes, size_t size) : EdgeBuffer(size) {
    if (size) memcpy(block_, bytes, size);
  }
  ~EdgeBuffer() { free(block_); }
  EdgeBuffer(const EdgeBuffer&) = delete;
  EdgeBuffer& operator=(const EdgeBuffer&) = delete;

  char* data() { return block_; }
  unsigned char* bytes() { return reinterpret_cast<unsigned char*>(block_); }
  size_t size() const { return size_; }
  std::string Snapshot() const { return std::string(block_, size_); }
  bool Same(const std::string& snapshot) const {
    return snapshot.size() == size_ && memcmp(snapshot.data(), block_, size_) == 0;
  }

 private:
  size_t size_;
  char* block_;
};

// memcmp that also takes the null pointers of empty vectors.
inline bool SameBytes(const void* a, const void* b, size_t n) { return n == 0 || memcmp(a, b, n) == 0; }

// A broken property: report it with a message and stop the run, so that
// libFuzzer keeps the input as a crash.
#define FUZZ_CHECK(condition)                                                  \
  do {                                                                         \
    if (!(condition)) {                                                        \
      fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
      abort();                                                                 \
    }                                                                          \
  } while (0)

// What a bounded composition must leave in dest, whose bytes were before:
// refused (every byte unchanged) exactly when the text and its terminator do
// not fit, else the text and its terminator followed by the old bytes.
inline void CheckComposition(const EdgeBuffer& dest, const std::string& before, bool accepted, bool fits,
                             const std::string& expected) {
  FUZZ_CHECK(accepted == fits);
  if (!accepted) {
    FUZZ_CHECK(dest.Same(before));
    return;
  }
  std::string after = before;
  after.replace(0, expected.size() + 1, expected + '\0');
  FUZZ_CHECK(dest.Same(after));
}
