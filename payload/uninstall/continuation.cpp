#include "payload/uninstall/continuation.h"

#include "shell/bounded_text.h"

namespace {

const char kSwitch[] = "/continue";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

const char* SkipSpaces(const char* p) {
  while (*p == ' ') ++p;
  return p;
}

}  // namespace

bool ComposeContinuation(char* dest, size_t size, const char* copyPath, unsigned long processHandle,
                         const char* folder) {
  char line[1100];
  bool composed = ComposeText(line, "\"", copyPath, "\" ") && AppendText(line, kSwitch) && AppendText(line, " ") &&
                  AppendNumber(line, sizeof(line), processHandle);
  if (composed && folder[0] != '\0') composed = ComposeText(line, line, " \"", folder) && AppendText(line, "\"");
  return composed && CopyText(dest, size, line);
}

bool ParseContinuation(const char* arguments, Continuation& continuation) {
  const char* p = SkipSpaces(arguments);
  for (const char* s = kSwitch; *s != '\0'; ++s, ++p) {
    char c = *p >= 'A' && *p <= 'Z' ? (char)(*p - 'A' + 'a') : *p;
    if (c != *s) return false;
  }
  if (*p != ' ') return false;
  p = SkipSpaces(p);
  if (!IsDigit(*p)) return false;
  unsigned long value = 0;
  for (; IsDigit(*p); ++p) {
    const unsigned digit = (unsigned)(*p - '0');
    if (value > (0xFFFFFFFFul - digit) / 10) return false;  // more than 32 bits
    value = value * 10 + digit;
  }
  char folder[sizeof(continuation.folder)] = "";
  if (*p == ' ' && *(p = SkipSpaces(p)) == '"') {
    size_t n = 0;
    for (++p; *p != '"'; ++p, ++n) {
      if (*p == '\0' || n + 1 >= sizeof(folder)) return false;
      folder[n] = *p;
    }
    if (n == 0) return false;
    folder[n] = '\0';
    p = SkipSpaces(p + 1);
  }
  if (*p != '\0') return false;
  continuation.processHandle = value;
  CopyText(continuation.folder, folder);
  return true;
}
