// The folder list's navigation in either mode, as a walk of arbitrary steps
// over arbitrary folder names of any length, starting from any path the
// list can hold. After every step the path is terminated and at most
// kMaxBrowseLength characters long; the search pattern always fits and is
// cut off exactly; the label and the installation directory always fit
// their buffers; a refused entry leaves the path's buffer as it was.
#include <fuzzer/FuzzedDataProvider.h>
#include <stdint.h>

#include <string>

#include "destination/folder_rules.h"
#include "destination/install_dir.h"
#include "tests/fuzz/fuzz_buffer.h"

namespace {

enum Step { kEnter, kEnterNearLimit, kUp, kPattern, kLabel, kDoubleClick, kStepCount };

std::string Separator(const std::string& path, int mode) {
  return mode == kDirectoryMode && path.size() <= 3 ? "" : "\\";
}

std::string Path(EdgeBuffer& buffer) {
  const size_t n = strnlen(buffer.data(), buffer.size());
  FUZZ_CHECK(n <= kMaxBrowseLength);
  return std::string(buffer.data(), n);
}

void Enter(EdgeBuffer& path, int mode, const std::string& name) {
  const std::string before = path.Snapshot();
  const std::string old = Path(path);
  const std::string expected = old + Separator(old, mode) + name;
  const bool accepted = EnterFolder(path.data(), mode, name.c_str());
  FUZZ_CHECK(accepted == (expected.size() <= kMaxBrowseLength));
  if (accepted) {
    FUZZ_CHECK(Path(path) == expected);
  } else {
    FUZZ_CHECK(path.Same(before));
  }
}

void GoUp(EdgeBuffer& path, int mode) {
  const std::string old = Path(path);
  GoUpOneLevel(path.data(), mode);
  const std::string now = Path(path);
  const size_t last = old.rfind('\\');
  if (last == std::string::npos) {
    FUZZ_CHECK(now == old);
  } else if (mode == kDirectoryMode && last <= 3) {
    FUZZ_CHECK(now == old.substr(0, last + 1));  // a root keeps its backslash
  } else {
    FUZZ_CHECK(now == old.substr(0, last));
  }
}

void Pattern(EdgeBuffer& path, int mode) {
  const std::string old = Path(path);
  const std::string pattern = Separator(old, mode) + "*.*";
  const int cut = AppendSearchPattern(path.data(), path.size(), mode);
  FUZZ_CHECK(cut == int(pattern.size()));
  FUZZ_CHECK(std::string(path.data()) == old + pattern);
  CutSearchPattern(path.data(), cut);
  FUZZ_CHECK(Path(path) == old);
}

void Label(EdgeBuffer& path, int mode, const std::string& name) {
  const std::string old = Path(path);
  const std::string expected = old + Separator(old, mode) + name;
  EdgeBuffer label(kPathBufferSize);
  FUZZ_CHECK(ComposeFolderLabel(label.data(), label.size(), path.data(), mode, name.c_str()));
  FUZZ_CHECK(std::string(label.data()) == expected);
  if (mode == kDirectoryMode) {
    EdgeBuffer dir(kPathBufferSize);
    FUZZ_CHECK(ComposeInstallDir(dir.data(), dir.size(), path.data(), name.c_str()));
    FUZZ_CHECK(std::string(dir.data()) == expected);
  }
}

// The double-click rule as the list applies it: nothing, up, or into the
// selected row.
void DoubleClick(EdgeBuffer& path, int mode, int selected, int count, const std::string& name) {
  const std::string before = path.Snapshot();
  const FolderStep step = DecideFolderStep(selected, count, path.data(), mode);
  if (selected < 0 || selected > count) FUZZ_CHECK(step == StepNone);
  if (step == StepNone) FUZZ_CHECK(path.Same(before));
  if (step == StepUp) {
    FUZZ_CHECK(selected == 0 && HasUpRow(path.data(), mode));
    GoUp(path, mode);
  }
  if (step == StepInto) {
    FUZZ_CHECK(!(selected == 0 && HasUpRow(path.data(), mode)));
    Enter(path, mode, name);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const int mode = in.ConsumeBool() ? kGroupMode : kDirectoryMode;

  // Any path the list can hold, with any bytes after its terminator.
  EdgeBuffer path(kPathBufferSize);
  memset(path.data(), 'x', path.size());
  const std::string start = in.ConsumeRandomLengthString(kMaxBrowseLength).c_str();
  memcpy(path.data(), start.c_str(), start.size() + 1);

  for (int steps = 0; steps < 64 && in.remaining_bytes() > 0; ++steps) {
    switch (in.ConsumeIntegralInRange<int>(0, kStepCount - 1)) {
      case kEnter:
        Enter(path, mode, in.ConsumeRandomLengthString(600).c_str());
        break;
      case kEnterNearLimit: {
        // A name that brings the path to within two characters of the
        // limit, either side: where an off-by-one would show.
        const std::string old = Path(path);
        const long room = long(kMaxBrowseLength) - long(old.size()) - long(Separator(old, mode).size());
        const long length = room + in.ConsumeIntegralInRange<int>(-2, 2);
        const char letter = in.ConsumeIntegralInRange<char>('A', 'Z');
        Enter(path, mode, std::string(length > 0 ? length : 0, letter));
        break;
      }
      case kUp:
        GoUp(path, mode);
        break;
      case kPattern:
        Pattern(path, mode);
        break;
      case kLabel: {
        // The name field keeps at most kMaxFolderName characters.
        Label(path, mode, in.ConsumeRandomLengthString(kMaxFolderName).c_str());
        break;
      }
      case kDoubleClick: {
        const int count = in.ConsumeIntegralInRange<int>(-1, 300);
        const int selected = in.ConsumeIntegralInRange<int>(-2, 302);
        DoubleClick(path, mode, selected, count, in.ConsumeRandomLengthString(255).c_str());
        break;
      }
    }
    Path(path);
  }
  return 0;
}
