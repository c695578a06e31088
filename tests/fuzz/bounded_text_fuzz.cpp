// Bounded composition with arbitrary texts, buffer sizes and buffer
// contents. Whatever the input: nothing is read or written outside the
// buffer; a refusal leaves every byte of it as it was; an acceptance holds
// exactly the concatenation, terminated, and leaves the bytes after the
// terminator alone.
#include <fuzzer/FuzzedDataProvider.h>
#include <stdint.h>

#include <string>

#include "shell/bounded_text.h"
#include "tests/fuzz/fuzz_buffer.h"

namespace {

enum Operation { kCopy, kAppend, kCompose, kComposeInPlace, kJoin, kJoinInPlace, kNumber, kOperationCount };

bool Fits(const std::string& text, size_t size) { return text.size() < size; }

std::string Terminated(const char* text, size_t size) { return std::string(text, BoundedLength(text, size)); }

std::string Separator(const std::string& base) { return !base.empty() && base.back() == '\\' ? "" : "\\"; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const int operation = in.ConsumeIntegralInRange<int>(0, kOperationCount - 1);
  const size_t bufferSize = in.ConsumeIntegralInRange<size_t>(0, 600);
  const unsigned long number = in.ConsumeIntegral<unsigned long>();
  // Texts are NUL-terminated by nature: they end at their first NUL.
  const std::string a = in.ConsumeRandomLengthString(700).c_str();
  const std::string b = in.ConsumeRandomLengthString(700).c_str();
  const std::string c = in.ConsumeRandomLengthString(700).c_str();

  // The buffer's old bytes: whatever is left, cut or padded to its size.
  std::string old = in.ConsumeRemainingBytesAsString();
  old.resize(bufferSize, 'x');
  EdgeBuffer dest(old.data(), bufferSize);

  // Compositions that read the buffer itself need text in it.
  const bool inPlace = operation == kComposeInPlace || operation == kJoinInPlace;
  if (inPlace) {
    if (bufferSize == 0) return 0;
    if (BoundedLength(dest.data(), bufferSize) == bufferSize) dest.data()[bufferSize - 1] = '\0';
  }
  const std::string before = dest.Snapshot();
  const std::string held = Terminated(dest.data(), bufferSize);
  const bool terminated = held.size() < bufferSize;

  switch (operation) {
    case kCopy:
      CheckComposition(dest, before, CopyText(dest.data(), bufferSize, a.c_str()), Fits(a, bufferSize), a);
      break;
    case kAppend: {
      // An unterminated buffer holds no text to append to: refused.
      const bool accepted = AppendText(dest.data(), bufferSize, a.c_str());
      CheckComposition(dest, before, accepted, terminated && Fits(held + a, bufferSize), held + a);
      break;
    }
    case kCompose: {
      const bool accepted = ComposeText(dest.data(), bufferSize, a.c_str(), b.c_str(), c.c_str());
      CheckComposition(dest, before, accepted, Fits(a + b + c, bufferSize), a + b + c);
      break;
    }
    case kComposeInPlace: {
      const bool accepted = ComposeText(dest.data(), bufferSize, dest.data(), b.c_str(), c.c_str());
      CheckComposition(dest, before, accepted, Fits(held + b + c, bufferSize), held + b + c);
      break;
    }
    case kJoin: {
      const std::string joined = a + Separator(a) + b;
      CheckComposition(dest, before, JoinPath(dest.data(), bufferSize, a.c_str(), b.c_str()), Fits(joined, bufferSize),
                  joined);
      break;
    }
    case kJoinInPlace: {
      const std::string joined = held + Separator(held) + b;
      CheckComposition(dest, before, JoinPath(dest.data(), bufferSize, dest.data(), b.c_str()),
                  Fits(joined, bufferSize), joined);
      break;
    }
    case kNumber: {
      const std::string digits = std::to_string(number);
      const bool accepted = AppendNumber(dest.data(), bufferSize, number);
      CheckComposition(dest, before, accepted, terminated && Fits(held + digits, bufferSize), held + digits);
      break;
    }
  }
  return 0;
}
