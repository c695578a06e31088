#include "install/copy_text.h"

#include <string.h>

#include "shell/bounded_text.h"

bool ComposeCopyStatus(char* dest, size_t size, const char* from, const char* to) {
  // Checked as a whole first, so that a refusal leaves dest untouched.
  if (strlen(from) + strlen(to) + 12 >= size) return false;
  return ComposeText(dest, size, "FROM: ", from, "  TO: ") && AppendText(dest, size, to);
}

namespace {

bool ComposeFailureWith(char* dest, size_t size, const char* from, const char* to) {
  static const char kHead[] = "Unable to copy a file:\nFrom=";
  static const char kMiddle[] = "\nTo=";
  static const char kTail[] = "\nProgram will exit";
  size_t fixed = sizeof(kHead) + sizeof(kMiddle) + sizeof(kTail) - 3;
  size_t from_length = strlen(from), to_length = strlen(to);
  if (from_length >= size || to_length >= size || fixed + from_length + to_length >= size) return false;
  return ComposeText(dest, size, kHead, from, kMiddle) && ComposeText(dest, size, dest, to, kTail);
}

}  // namespace

void ComposeCopyFailure(char* dest, size_t size, const char* from, const char* to) {
  if (ComposeFailureWith(dest, size, from, to)) return;
  if (ComposeFailureWith(dest, size, "", to)) return;
  ComposeFailureWith(dest, size, "", "");
}

bool TempPathFits(unsigned long result, size_t size) { return result != 0 && result < size; }
