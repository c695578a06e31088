// The texts and paths the pages compose from paths of any length: the copy
// page's status line, failure message, temporary file and resource name;
// the group page's Programs folder, group folder and shortcuts; the source
// directory's root trim. Each is refused whole (buffers unchanged) or holds
// exactly its text, and nothing is written outside its buffer.
#include <fuzzer/FuzzedDataProvider.h>
#include <stdint.h>

#include <string>

#include "group/group_paths.h"
#include "install/copy_text.h"
#include "shell/bounded_text.h"
#include "install/payload_table.h"
#include "shell/source_dir.h"
#include "tests/fuzz/fuzz_buffer.h"

namespace {

enum Text { kStatus, kFailure, kTempFile, kResource, kPrograms, kGroup, kGroupInPlace, kShortcut, kTrim, kTextCount };

bool Fits(const std::string& text, size_t size) { return text.size() < size; }

std::string Joined(const std::string& base, const std::string& name) {
  return base + (!base.empty() && base.back() == '\\' ? "" : "\\") + name;
}

void CheckFailure(FuzzedDataProvider& in, const std::string& from, const std::string& to) {
  // Its buffer is always larger than the fixed words (50 characters).
  const size_t size = in.ConsumeIntegralInRange<size_t>(51, 1200);
  EdgeBuffer dest(size);
  memset(dest.data(), '#', size);
  ComposeCopyFailure(dest.data(), size, from.c_str(), to.c_str());
  // The whole message, else without the From path, else without both.
  const auto message = [](const std::string& f, const std::string& t) {
    return "Unable to copy a file:\nFrom=" + f + "\nTo=" + t + "\nProgram will exit";
  };
  std::string expected = message(from, to);
  if (!Fits(expected, size)) expected = message("", to);
  if (!Fits(expected, size)) expected = message("", "");
  FUZZ_CHECK(strnlen(dest.data(), size) < size && expected == dest.data());
}

void CheckShortcut(FuzzedDataProvider& in, const std::string& group, const std::string& installDir) {
  const Shortcut& shortcut = kShortcuts[in.ConsumeIntegralInRange<size_t>(0, 2)];
  const size_t linkSize = in.ConsumeIntegralInRange<size_t>(0, 600);
  const size_t targetSize = in.ConsumeIntegralInRange<size_t>(0, 600);
  EdgeBuffer link(linkSize), target(targetSize);
  memset(link.data(), '#', linkSize);
  memset(target.data(), '#', targetSize);
  const std::string linkBefore = link.Snapshot(), targetBefore = target.Snapshot();
  const std::string linkPath = group + shortcut.linkName, targetPath = installDir + shortcut.targetName;
  const bool made = ComposeShortcut(shortcut, group.c_str(), installDir.c_str(), link.data(), linkSize,
                                    target.data(), targetSize);
  // Both or neither: a refusal leaves neither half-made.
  const bool fits = Fits(linkPath, linkSize) && Fits(targetPath, targetSize);
  CheckComposition(link, linkBefore, made, fits, linkPath);
  CheckComposition(target, targetBefore, made, fits, targetPath);
}

void CheckTrim(const std::string& dir) {
  EdgeBuffer buffer(dir.c_str(), dir.size() + 1);
  TrimSourceRoot(buffer.data());
  // "E:\" and "E:" keep the letter and colon; anything else stays whole.
  const std::string expected = dir.size() >= 2 && dir.size() <= 3 ? dir.substr(0, 2) : dir;
  FUZZ_CHECK(expected == buffer.data());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const int text = in.ConsumeIntegralInRange<int>(0, kTextCount - 1);
  const std::string a = in.ConsumeRandomLengthString(700).c_str();
  const std::string b = in.ConsumeRandomLengthString(700).c_str();
  if (text == kFailure) return CheckFailure(in, a, b), 0;
  if (text == kShortcut) return CheckShortcut(in, a, b), 0;
  if (text == kTrim) return CheckTrim(a), 0;

  const size_t bufferSize = in.ConsumeIntegralInRange<size_t>(0, 800);
  std::string old = in.ConsumeRandomLengthString(800);
  old.resize(bufferSize, '#');
  EdgeBuffer dest(old.data(), bufferSize);
  if (text == kGroupInPlace) {
    // The group folder is also composed over its own path.
    if (bufferSize == 0 || !Fits(a, bufferSize)) return 0;
    memcpy(dest.data(), a.c_str(), a.size() + 1);
  }
  const std::string before = dest.Snapshot();

  switch (text) {
    case kStatus: {
      const std::string status = "FROM: " + a + "  TO: " + b;
      CheckComposition(dest, before, ComposeCopyStatus(dest.data(), bufferSize, a.c_str(), b.c_str()),
                       Fits(status, bufferSize), status);
      break;
    }
    case kTempFile: {
      // An empty folder means the current one: the name alone.
      const std::string path = a.empty() ? b : Joined(a, b);
      CheckComposition(dest, before, ComposeTempFile(dest.data(), bufferSize, a.c_str(), b.c_str()),
                       Fits(path, bufferSize), path);
      break;
    }
    case kResource: {
      const int index = in.ConsumeIntegral<int>();
      const std::string name = "FILE" + std::to_string(index);
      CheckComposition(dest, before, PayloadResourceName(dest.data(), bufferSize, index),
                       index >= 0 && Fits(name, bufferSize), name);
      break;
    }
    case kPrograms: {
      const std::string path = a + "\\Start Menu\\Programs";
      CheckComposition(dest, before, ComposeProgramsUnderWindows(dest.data(), bufferSize, a.c_str()),
                       Fits(path, bufferSize), path);
      break;
    }
    case kGroup:
      CheckComposition(dest, before, ComposeGroupFolder(dest.data(), bufferSize, a.c_str()),
                       Fits(Joined(a, "Norvu"), bufferSize), Joined(a, "Norvu"));
      break;
    case kGroupInPlace:
      CheckComposition(dest, before, ComposeGroupFolder(dest.data(), bufferSize, dest.data()),
                       Fits(Joined(a, "Norvu"), bufferSize), Joined(a, "Norvu"));
      break;
  }
  return 0;
}
