#include "shell/bounded_text.h"

#include <string.h>

size_t BoundedLength(const char* text, size_t size) {
  size_t n = 0;
  while (n < size && text[n] != '\0') ++n;
  return n;
}

bool ComposeText(char* dest, size_t size, const char* first, const char* second, const char* third) {
  if (size == 0) return false;
  size_t a = strlen(first), b = strlen(second), c = strlen(third);
  // Compared piece by piece so that huge lengths cannot wrap the sum.
  if (a >= size || b >= size - a || c >= size - a - b) return false;
  if (dest != first) memmove(dest, first, a);
  memcpy(dest + a, second, b);
  memcpy(dest + a + b, third, c);
  dest[a + b + c] = '\0';
  return true;
}

bool CopyText(char* dest, size_t size, const char* text) { return ComposeText(dest, size, text, ""); }

bool AppendText(char* dest, size_t size, const char* text) {
  if (BoundedLength(dest, size) == size) return false;  // not terminated: refuse
  return ComposeText(dest, size, dest, text);
}

bool JoinPath(char* dest, size_t size, const char* base, const char* name) {
  size_t n = strlen(base);
  const char* separator = (n > 0 && base[n - 1] == '\\') ? "" : "\\";
  return ComposeText(dest, size, base, separator, name);
}

bool ComposeTempFile(char* dest, size_t size, const char* dir, const char* name) {
  if (dir[0] == '\0') return CopyText(dest, size, name);
  return JoinPath(dest, size, dir, name);
}

bool AppendNumber(char* dest, size_t size, unsigned long value) {
  char digits[24];
  char* p = digits + sizeof(digits) - 1;
  *p = '\0';
  do {
    *--p = (char)('0' + value % 10);
    value /= 10;
  } while (value != 0);
  return AppendText(dest, size, p);
}
