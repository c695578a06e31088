// What the uninstaller says: its fixed texts, its question, the retry prompt
// for an item it cannot remove, and the final message naming what was left.
#pragma once
#include <stddef.h>

#include "payload/uninstall/removal_rules.h"
#include "payload/uninstall/uninstall_entry.h"

constexpr char kUninstallCaption[] = "Norvu - Uninstall";
constexpr char kNotInstalledText[] =
    "Norvu is not installed on this computer: there is no uninstall entry for it in the registry.\n\n"
    "Nothing was changed.";
constexpr char kNoCopyText[] =
    "The uninstaller could not start a copy of itself in the temporary folder. It needs one to remove "
    "its own file and folder.\n\nNothing was changed.";
constexpr char kRemovedText[] = "Norvu was removed from this computer.";

// Why the uninstaller will not work with an uninstall entry, naming the
// value it refused; nothing was changed.
bool ComposeRefusal(char* dest, size_t size, const Refusal& refusal);

// "Remove Norvu and its shortcuts from this computer?" and what that means,
// naming the installation folder.
bool ComposeQuestion(char* dest, size_t size, const char* installFolder);

// The prompt for a file or folder whose removal failed with outcome (in use,
// no rights, or failed with the system's error): Retry tries again, Cancel
// leaves it.
bool ComposeRetryPrompt(char* dest, size_t size, const char* path, RemovalOutcome outcome, unsigned long error);

// Why an item stayed.
enum LeftReason {
  LeftInUse,            // in use, and the user chose to go on without it
  LeftNoRights,         // the user may not remove it, and chose to go on without it
  LeftFailed,           // its removal failed (error given)
  LeftHoldsOtherFiles,  // a folder holding files that setup did not make
};

// The items left, one line each, for the final message.
struct RemovalReport {
  char lines[2048];
  int leftCount;
  bool full;  // a line did not fit: the message says that more was left
};
void StartReport(RemovalReport& report);
// item: a path or registry key; others: the folder's other files (for
// LeftHoldsOtherFiles); error: the system's error (for LeftFailed).
void ReportLeft(RemovalReport& report, const char* item, LeftReason reason, const char* others,
                unsigned long error);

// Whether anything was left, on purpose or not: the final message then
// names it and warns.
bool AnythingLeft(const RemovalReport& report, const RemovalProgress& progress);

// The final message: what was left, and what was kept on purpose so that
// the removal can be finished by a second run. recorded: the installation
// had an uninstall entry (and so an Uninstall shortcut).
bool ComposeFinalMessage(char* dest, size_t size, const RemovalReport& report, const RemovalProgress& progress,
                         bool recorded);
