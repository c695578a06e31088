// Little-endian byte output for the generated binary files.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

class ByteWriter {
 public:
  void U8(std::uint8_t value) { bytes_.push_back(value); }
  void U16(std::uint16_t value) {
    U8(static_cast<std::uint8_t>(value));
    U8(static_cast<std::uint8_t>(value >> 8));
  }
  void U32(std::uint32_t value) {
    U16(static_cast<std::uint16_t>(value));
    U16(static_cast<std::uint16_t>(value >> 16));
  }
  // The text and its NUL terminator.
  void Text(const std::string& text) {
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    U8(0);
  }
  // The text NUL-padded to a field of the given width; the field always ends
  // in at least one NUL, so a longer text is cut to width - 1.
  void Field(const std::string& text, std::size_t width) {
    const std::size_t kept = text.size() < width ? text.size() : width - 1;
    bytes_.insert(bytes_.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(kept));
    Zeros(width - kept);
  }
  void Append(const Bytes& more) { bytes_.insert(bytes_.end(), more.begin(), more.end()); }
  void Zeros(std::size_t count) { bytes_.insert(bytes_.end(), count, 0); }
  void PatchU32(std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes_[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
  std::size_t Size() const { return bytes_.size(); }
  const Bytes& Result() const { return bytes_; }

 private:
  Bytes bytes_;
};

// Reads back what ByteWriter wrote; used by the checks of the formats.
inline std::uint32_t ReadU16(const Bytes& bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes.at(at) | bytes.at(at + 1) << 8);
}
inline std::uint32_t ReadU32(const Bytes& bytes, std::size_t at) {
  return ReadU16(bytes, at) | ReadU16(bytes, at + 2) << 16;
}

// xorshift32: a fixed sequence, the same on every compiler and machine, for
// the parts of the files that stand in for data.
class PseudoRandom {
 public:
  explicit PseudoRandom(std::uint32_t seed) : state_(seed ? seed : 1) {}
  std::uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  std::uint8_t Byte() { return static_cast<std::uint8_t>(Next() >> 24); }
  // A number in [0, count).
  std::uint32_t Below(std::uint32_t count) { return Next() % count; }

 private:
  std::uint32_t state_;
};
