#include "payload/product/norvu_report.h"

#include "shell/bounded_text.h"

namespace {

const size_t kReportSize = 2048;

bool AddLine(char (&report)[kReportSize], const char* a, const char* b = "", const char* c = "",
             const char* d = "") {
  return AppendText(report, a) && AppendText(report, b) && AppendText(report, c) && AppendText(report, d) &&
         AppendText(report, "\r\n");
}

bool AddLibraryLine(char (&report)[kReportSize], const Findings& findings) {
  const char* prefix = "Library: " NORVU_LIBRARY_NAME;
  switch (findings.library) {
    case LibraryReady: return AddLine(report, prefix, ", ", findings.libraryVersion);
    case LibraryUnloadable: return AddLine(report, prefix, " is there but cannot be loaded");
    case LibraryWithoutEntry: return AddLine(report, prefix, " has no " NORVU_LIBRARY_ENTRY " entry");
    default: return AddLine(report, prefix, " is missing from ", findings.folder);
  }
}

bool AddFileLines(char (&report)[kReportSize], const Findings& findings) {
  if (!findings.configFound) {
    return AddLine(report, "Settings: " NORVU_CONFIG_NAME " is missing from ", findings.folder,
                   ", so Norvu cannot tell which other files it needs");
  }
  if (!AddLine(report, "Settings: " NORVU_CONFIG_NAME)) return false;
  for (int i = 0; i < kProductFileCount; ++i) {
    const FileFinding& file = findings.files[i];
    const char* label = kProductFiles[i].label;
    bool added;
    if (file.name[0] == '\0') {
      added = AddLine(report, label, ": not named in " NORVU_CONFIG_NAME);
    } else {
      added = AddLine(report, label, ": ", file.name, file.present ? "" : " is missing");
    }
    if (!added) return false;
  }
  return true;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

int ReportProblems(const Findings& findings) {
  int problems = 0;
  if (findings.library != LibraryReady) problems |= ProblemLibrary;
  if (!findings.configFound) return problems | ProblemConfig;
  for (const FileFinding& file : findings.files) {
    if (file.name[0] == '\0' || !file.present) problems |= ProblemFile;
  }
  return problems;
}

bool ComposeReport(const Findings& findings, char* text, size_t size) {
  char report[kReportSize] = "";
  const bool versioned = findings.configFound && findings.version[0] != '\0';
  const bool composed =
      AddLine(report, "Norvu", versioned ? " " : "", versioned ? findings.version : "") &&
      AddLine(report, "Folder: ", findings.folder) && AddLibraryLine(report, findings) &&
      AddFileLines(report, findings) && AddLine(report, "") &&
      AddLine(report, ReportProblems(findings) == 0
                          ? "Norvu has everything it needs."
                          : "Something Norvu needs is missing or damaged. Run Setup again to restore it.");
  return composed && CopyText(text, size, report);
}

void CutToFolder(char* path) {
  char* slash = path;
  for (char* p = path; *p != '\0'; ++p) {
    if (*p == '\\') slash = p;
  }
  const bool driveRoot = slash > path && slash[-1] == ':';
  slash[driveRoot ? 1 : 0] = '\0';
}

bool HasReportSwitch(const char* commandLine) {
  const char kSwitch[] = "/report";
  const size_t length = sizeof(kSwitch) - 1;
  const char* word = commandLine;
  while (*word != '\0') {
    while (*word == ' ' || *word == '\t') ++word;
    const char* end = word;
    while (*end != '\0' && *end != ' ' && *end != '\t') ++end;
    if (static_cast<size_t>(end - word) == length) {
      size_t i = 0;
      while (i < length && Lower(word[i]) == kSwitch[i]) ++i;
      if (i == length) return true;
    }
    word = end;
  }
  return false;
}
