#include "payload/uninstall/continuation.h"

#include "shell/bounded_text.h"

namespace {

const char kSwitch[] = "/continue";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool ComposeContinuation(char* dest, size_t size, const char* copyPath, unsigned long processHandle) {
  char line[600];
  return ComposeText(line, "\"", copyPath, "\" ") && AppendText(line, kSwitch) && AppendText(line, " ") &&
         AppendNumber(line, sizeof(line), processHandle) && CopyText(dest, size, line);
}

bool ParseContinuation(const char* arguments, unsigned long* processHandle) {
  const char* p = arguments;
  while (*p == ' ') ++p;
  for (const char* s = kSwitch; *s != '\0'; ++s, ++p) {
    char c = *p >= 'A' && *p <= 'Z' ? (char)(*p - 'A' + 'a') : *p;
    if (c != *s) return false;
  }
  if (*p != ' ') return false;
  while (*p == ' ') ++p;
  if (!IsDigit(*p)) return false;
  unsigned long value = 0;
  for (; IsDigit(*p); ++p) {
    const unsigned digit = (unsigned)(*p - '0');
    if (value > (0xFFFFFFFFul - digit) / 10) return false;  // more than 32 bits
    value = value * 10 + digit;
  }
  while (*p == ' ') ++p;
  if (*p != '\0') return false;
  *processHandle = value;
  return true;
}
