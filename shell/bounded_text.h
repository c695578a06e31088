// Bounded composition of NUL-terminated ANSI text in fixed buffers.
//
// Every fixed buffer of the setup is written through these helpers, and they
// share one rule: a composition that would not fit its buffer, terminator
// included, is refused whole. The buffer keeps exactly what it held and the
// helper returns false. Nothing is cut and nothing is written past the end.
#pragma once
#include <stddef.h>

// dest = text.
bool CopyText(char* dest, size_t size, const char* text);
// dest = dest + text.
bool AppendText(char* dest, size_t size, const char* text);
// dest = first + second + third. first may be dest itself (an append);
// second and third must not overlap dest.
bool ComposeText(char* dest, size_t size, const char* first, const char* second, const char* third = "");
// dest = base + "\" + name, with no second backslash when base already ends
// in one. base may be dest itself.
bool JoinPath(char* dest, size_t size, const char* base, const char* name);
// A name inside the temporary folder: dir joined with name. The system's
// temporary folder ends in a backslash and gets none added; the source-folder
// fallback gets one; an empty dir means the current folder.
bool ComposeTempFile(char* dest, size_t size, const char* dir, const char* name);

// dest = dest + the decimal digits of value. Written by hand: the C
// library's formatting would add many kilobytes to the installer.
bool AppendNumber(char* dest, size_t size, unsigned long value);

// The same, sized by the compiler for array buffers.
template <size_t N> bool CopyText(char (&dest)[N], const char* text) { return CopyText(dest, N, text); }
template <size_t N> bool AppendText(char (&dest)[N], const char* text) { return AppendText(dest, N, text); }
template <size_t N> bool ComposeText(char (&dest)[N], const char* a, const char* b, const char* c = "") {
  return ComposeText(dest, N, a, b, c);
}
template <size_t N> bool JoinPath(char (&dest)[N], const char* base, const char* name) {
  return JoinPath(dest, N, base, name);
}

// Length of text, never reading past size bytes.
size_t BoundedLength(const char* text, size_t size);
