// A running program cannot delete its own file. So the uninstaller, started
// from the installation folder, copies itself into a folder of its own in
// the temporary folder and goes on from there: it starts the copy with the
// switch "/continue" and the handle of its own process, which the copy
// inherits and waits on until the first process has ended and its file is
// free. Without an uninstall entry the first process also names the folder
// it was asked to remove.
#pragma once
#include <stddef.h>

#include "payload/uninstall/uninstall_entry.h"

struct Continuation {
  unsigned long processHandle;     // the first process, as the copy inherits it
  char folder[kRecordedPathSize];  // the folder to remove without an entry; empty: the entry's
};

// dest = the command line of the copy: "\"copy\" /continue HANDLE", then
// " \"folder\"" when folder is not empty.
bool ComposeContinuation(char* dest, size_t size, const char* copyPath, unsigned long processHandle,
                         const char* folder);

// True when arguments (the command line after the program's name) are
// "/continue HANDLE" (decimal), optionally followed by a quoted folder.
bool ParseContinuation(const char* arguments, Continuation& continuation);
