#include "payload/uninstall/uninstall_entry.h"

#include "group/registry_keys.h"
#include "shell/bounded_text.h"

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c; }

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Length without one trailing backslash, which a drive root keeps.
size_t FolderLength(const char* path) {
  size_t n = BoundedLength(path, kRecordedPathSize);
  return n > 3 && path[n - 1] == '\\' ? n - 1 : n;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Characters that no folder name holds; "/" is a separator that setup never
// writes, and ":" past the drive would name a stream.
bool IsForbidden(char c) {
  return (unsigned char)c < 32 || c == '/' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' ||
         c == '>' || c == '|';
}

// The steps after "X:\": none empty (one backslash may end the path), none
// made only of dots and spaces.
FolderVerdict JudgeSteps(const char* steps) {
  const char* step = steps;
  bool onlyDots = true;
  for (const char* p = steps;; ++p) {
    if (*p == '\\' || *p == '\0') {
      if (p == step) return *p == '\0' && step != steps ? FolderTrusted : FolderNotFull;
      if (onlyDots) return FolderHasDotsStep;
      if (*p == '\0') return FolderTrusted;
      step = p + 1;
      onlyDots = true;
    } else if (IsForbidden(*p)) {
      return FolderNotFull;
    } else if (*p != '.' && *p != ' ') {
      onlyDots = false;
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

FolderVerdict JudgeFolder(const char* path) {
  if (IsSeparator(path[0]) && IsSeparator(path[1])) return FolderIsNetworkOrDevice;
  if (!IsLetter(path[0]) || path[1] != ':' || path[2] != '\\') return FolderNotFull;
  return path[3] == '\0' ? FolderIsDriveRoot : JudgeSteps(path + 3);
}

void Refuse(Refusal& refusal, const char* valueName, const char* value, FolderVerdict verdict) {
  refusal.valueName = valueName;
  refusal.verdict = verdict;
  CopyText(refusal.value, value);  // read into a buffer of the same size
}

bool JudgeEntry(const Installation& entry, Refusal& refusal) {
  FolderVerdict verdict = JudgeFolder(entry.progdir);
  if (verdict != FolderTrusted) {
    Refuse(refusal, "Progdir", entry.progdir, verdict);
    return false;
  }
  verdict = entry.scdir[0] == '\0' ? FolderTrusted : JudgeFolder(entry.scdir);
  if (verdict != FolderTrusted) {
    Refuse(refusal, "Scdir", entry.scdir, verdict);
    return false;
  }
  return true;
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
