// A running program cannot delete its own file. So the uninstaller, started
// from the installation folder, copies itself to the temporary folder and
// goes on from there: it starts the copy with the switch "/continue" and the
// handle of its own process, which the copy inherits and waits on until the
// first process has ended and its file is free.
#pragma once
#include <stddef.h>

// dest = the command line of the copy: "\"copy\" /continue HANDLE".
bool ComposeContinuation(char* dest, size_t size, const char* copyPath, unsigned long processHandle);

// True when arguments (the command line after the program's name) are
// "/continue HANDLE", with the handle (decimal) in processHandle.
bool ParseContinuation(const char* arguments, unsigned long* processHandle);
