// What norvu.exe tells about its folder. Composed here, without windows.h,
// so that the wording and the exit code are tested on their own; the program
// gathers the findings and shows the text in its window or on its output.
#pragma once
#include <stddef.h>

#include "payload/product/product_layout.h"

const size_t kFindingPathSize = 260;
const size_t kFindingNameSize = 64;

enum LibraryState {
  LibraryMissing,       // no ferrox.dll beside the program
  LibraryUnloadable,    // the file is there but the system cannot load it
  LibraryWithoutEntry,  // loaded, but it has no FerroxVersion entry
  LibraryReady,
};

struct FileFinding {
  char name[kFindingNameSize];  // as norvu.cfg names it; empty when it does not
  bool present;
};

struct Findings {
  char folder[kFindingPathSize];  // the program's own folder
  int library;                    // a LibraryState
  char libraryVersion[kFindingNameSize];
  bool configFound;
  char version[16];  // from norvu.cfg; empty when unknown
  FileFinding files[kProductFileCount];  // in the order of kProductFiles
};

// The problems of a report, added up into the exit code of "norvu /report";
// 0 when everything is there.
enum ReportProblem {
  ProblemLibrary = 1,
  ProblemConfig = 2,
  ProblemFile = 4,  // a file or folder that norvu.cfg names is missing
};
int ReportProblems(const Findings& findings);

// The report as lines ending in CR LF. Returns false, leaving text unchanged,
// when the report does not fit.
bool ComposeReport(const Findings& findings, char* text, size_t size);

// Cuts a program's full path to its folder: no trailing backslash except at
// a drive root, which keeps it (C:\ stays C:\). A path without a backslash becomes empty.
void CutToFolder(char* path);

// True when the command line holds the /report switch (any case).
bool HasReportSwitch(const char* commandLine);
