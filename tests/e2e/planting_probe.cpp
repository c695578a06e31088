// planting_probe.exe: a program without the defence against planted DLLs. It
// loads each library named on its command line by its bare name, in the
// search order that a program gets by default, which starts in the program's
// own folder. planting_e2e starts it among the planted DLLs to show that they
// would be loaded there.
#include <windows.h>

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (HMODULE module = LoadLibraryA(argv[i])) FreeLibrary(module);
  }
  return 0;
}
