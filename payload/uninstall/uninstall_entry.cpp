#include "payload/uninstall/uninstall_entry.h"

#include "group/registry_keys.h"
#include "shell/bounded_text.h"

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c; }

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

size_t Length(const char* text) {
  size_t n = 0;
  while (text[n] != '\0') ++n;
  return n;
}

// Length without one trailing backslash, which a drive root keeps.
size_t FolderLength(const char* path) {
  size_t n = Length(path);
  return n > 3 && path[n - 1] == '\\' ? n - 1 : n;
}

// A step of the path (between backslashes) that is "." or "..".
bool HasDotStep(const char* path) {
  const char* step = path;
  for (const char* p = path;; ++p) {
    if (*p == '\\' || *p == '/' || *p == '\0') {
      size_t n = (size_t)(p - step);
      if ((n == 1 && step[0] == '.') || (n == 2 && step[0] == '.' && step[1] == '.')) return true;
      if (*p == '\0') return false;
      step = p + 1;
    }
  }
}

}  // namespace

void EntryKeyOrder(unsigned long versionWord, const char* order[2]) {
  order[0] = VersionKeyFor(versionWord);
  order[1] = order[0] == kWindowsVersionKey ? kWindowsNtVersionKey : kWindowsVersionKey;
}

bool ComposeEntryKey(char* dest, size_t size, const char* versionKey) {
  return ComposeText(dest, size, versionKey, "\\", kUninstallSubkey);
}

bool ComposeUninstallListKey(char* dest, size_t size, const char* versionKey) {
  return ComposeText(dest, size, versionKey, "\\Uninstall");
}

bool RemovesEmptyUninstallList(const char* versionKey) { return EqualNoCase(versionKey, kWindowsNtVersionKey); }

bool IsFullFolderPath(const char* path) {
  bool drive = IsLetter(path[0]) && path[1] == ':' && path[2] == '\\';
  bool network = path[0] == '\\' && path[1] == '\\' && path[2] != '\0' && path[2] != '\\';
  if (!drive && !network) return false;
  for (const char* p = path; *p != '\0'; ++p) {
    if (*p == '*' || *p == '?' || *p == '"' || *p == '<' || *p == '>' || *p == '|') return false;
  }
  return !HasDotStep(drive ? path + 3 : path + 2);
}

bool SameFolder(const char* a, const char* b) {
  size_t n = FolderLength(a);
  if (n != FolderLength(b)) return false;
  for (size_t i = 0; i < n; ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

bool EqualNoCase(const char* a, const char* b) {
  for (; *a != '\0' || *b != '\0'; ++a, ++b) {
    if (Lower(*a) != Lower(*b)) return false;
  }
  return true;
}
