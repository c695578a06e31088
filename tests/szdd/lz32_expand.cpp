// lz32_expand IN OUT [IN OUT ...]: expands each compressed IN into OUT with
// the system's LZ expansion library, the same calls the installer makes.
// Prints one line per failure; the exit code is 1 when any pair failed.
#include <windows.h>
#include <lzexpand.h>
#include <stdio.h>

static bool ExpandOne(char* source, char* dest) {
  OFSTRUCT sourceRecord = {}, destRecord = {};
  const INT in = LZOpenFileA(source, &sourceRecord, OF_READ);
  if (in < 0) {
    printf("%s: LZOpenFileA failed with %d\n", source, in);
    return false;
  }
  const INT out = LZOpenFileA(dest, &destRecord, OF_CREATE | OF_WRITE);
  if (out < 0) {
    printf("%s: LZOpenFileA failed with %d\n", dest, out);
    LZClose(in);
    return false;
  }
  const LONG copied = LZCopy(in, out);
  LZClose(in);
  LZClose(out);
  if (copied < 0) {
    printf("%s: LZCopy failed with %ld\n", source, copied);
    return false;
  }
  return true;
}

int main(int argc, char** argv) {
  if (argc < 3 || argc % 2 == 0) {
    printf("usage: lz32_expand IN OUT [IN OUT ...]\n");
    return 2;
  }
  bool ok = true;
  for (int i = 1; i + 1 < argc; i += 2) ok = ExpandOne(argv[i], argv[i + 1]) && ok;
  return ok ? 0 : 1;
}
