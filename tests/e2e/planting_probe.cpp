// planting_probe.exe: a program without the defence against planted DLLs. It
// loads each library named on its command line by its bare name, in the
// search order that a program gets by default, which starts in the program's
// own folder. planting_e2e starts it among the planted DLLs to show that they
// would be loaded there. The planted DLL refuses to be used, so its load
// fails with ERROR_DLL_INIT_FAILED: the exit code is the number of names
// that did not load it (1 without names, which show nothing).
#include <windows.h>

int main(int argc, char** argv) {
  int missed = argc < 2;
  for (int i = 1; i < argc; ++i) {
    HMODULE module = LoadLibraryA(argv[i]);
    if (module != nullptr || GetLastError() != ERROR_DLL_INIT_FAILED) ++missed;
    if (module != nullptr) FreeLibrary(module);
  }
  return missed;
}
