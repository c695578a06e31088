#include "payload/uninstall/uninstall_texts.h"

#include "shell/bounded_text.h"

namespace {

const char kKeptHeading[] = "Norvu was not removed completely. These items were left:\n\n";
const char kLeftHeading[] = "Norvu was removed from this computer, except for these items:\n\n";
const char kKeptAdvice[] =
    "\nThe uninstaller and its registry entry were kept: close Norvu, then start Uninstall again to "
    "finish the removal.";
// Without an uninstall entry there is no Uninstall shortcut either.
const char kKeptHereAdvice[] =
    "\nThe uninstaller was kept in that folder: close Norvu, then start it again to finish the removal.";
// Nor is there an entry to find the folder by: the program stays with the
// uninstaller while any other file stays.
const char kKeptProgramAdvice[] =
    "\nThe uninstaller (unsetup.exe) and the program norvu.exe were kept in that folder, so that the "
    "uninstaller still recognises the installation there: close Norvu, then start unsetup.exe there again to "
    "finish the removal.";
const char kRerunAdvice[] =
    "\nThe uninstall entry and the Uninstall shortcut were kept so that Uninstall can be run again to finish.";
const char kMoreLeft[] = "(and more items than this message can show)\n";

// dest = "(error N)".
bool ComposeErrorNote(char* dest, size_t size, unsigned long error) {
  return CopyText(dest, size, "(error ") && AppendNumber(dest, size, error) && AppendText(dest, size, ")");
}

// Why a folder is refused, by FolderVerdict.
const char* const kRefusalReasons[] = {
    "",
    "it is not a full folder path",
    "it is the root of a drive",
    "it is a network or device path",
    "one of its steps is made only of dots or spaces",
    "it does not hold unsetup.exe",
    "it is, or lies under, a link to another folder (a junction, symbolic link or mount point), through which "
    "removals would reach that folder",
    "the system does not tell what it, or a folder above it, is, and it may be a link to another folder",
};
static_assert(sizeof(kRefusalReasons) / sizeof(kRefusalReasons[0]) == FolderUnreadable + 1,
              "a reason for every verdict");

}  // namespace

bool ComposeRefusal(char* dest, size_t size, const Refusal& refusal) {
  char text[1200];
  const bool group = EqualNoCase(refusal.valueName, "Scdir");
  return ComposeText(text, "The uninstall entry of Norvu names this ",
                     group ? "program group folder (" : "installation folder (", refusal.valueName) &&
         ComposeText(text, text, "):\n\n", refusal.value[0] != '\0' ? refusal.value : "(none)") &&
         ComposeText(text, text, "\n\nThe uninstaller will not remove anything from it: ",
                     kRefusalReasons[refusal.verdict]) &&
         AppendText(text, ".\n\nNothing was changed.") && CopyText(dest, size, text);
}

bool ComposeQuestion(char* dest, size_t size, const char* installFolder) {
  char text[1024];
  return ComposeText(text, "Remove Norvu and its shortcuts from this computer?\n\nThe program's files in ",
                     installFolder, ", its program group and its registry entries will be removed. ") &&
         AppendText(text, "Files that you added yourself are kept.") && CopyText(dest, size, text);
}

bool ComposeRetryPrompt(char* dest, size_t size, const char* path, RemovalOutcome outcome, unsigned long error) {
  char text[1024];
  bool composed;
  if (outcome == RemovalInUse) {
    composed = ComposeText(text, path, "\ncannot be removed because it is in use.\n\n") &&
               AppendText(text, "Close Norvu, then choose Retry.");
  } else if (outcome == RemovalNoRights) {
    composed = ComposeText(text, path, "\ncannot be removed because you lack the rights to remove it.\n\n") &&
               AppendText(text, "Have an administrator give you those rights, then choose Retry.");
  } else {
    char note[24];
    composed = ComposeErrorNote(note, sizeof(note), error) &&
               ComposeText(text, path, "\ncannot be removed ", note) && AppendText(text, ".\n\nChoose Retry to try again.");
  }
  return composed && AppendText(text, " Choose Cancel to leave it and go on.") && CopyText(dest, size, text);
}

void StartReport(RemovalReport& report) {
  report.lines[0] = '\0';
  report.leftCount = 0;
  report.full = false;
}

void ReportLeft(RemovalReport& report, const char* item, LeftReason reason, const char* others,
                unsigned long error) {
  ++report.leftCount;
  char line[1024];
  bool composed;
  switch (reason) {
    case LeftInUse:
      composed = ComposeText(line, item, ": it is in use.\n");
      break;
    case LeftNoRights:
      composed = ComposeText(line, item, ": you lack the rights to remove it.\n");
      break;
    case LeftHoldsOtherFiles:
      composed = ComposeText(line, item, ": it holds files that Setup did not install: ", others) &&
                 AppendText(line, ".\n");
      break;
    default: {
      char note[24];
      composed = ComposeErrorNote(note, sizeof(note), error) &&
                 ComposeText(line, item, ": it could not be removed ", note) && AppendText(line, ".\n");
    }
  }
  // The line is kept whole or not at all; kMoreLeft always has room.
  if (report.full || !composed || BoundedLength(report.lines, sizeof(report.lines)) + BoundedLength(line, sizeof(line)) +
                                          sizeof(kMoreLeft) > sizeof(report.lines)) {
    report.full = true;
    return;
  }
  AppendText(report.lines, line);
}

bool AnythingLeft(const RemovalReport& report, const RemovalProgress& progress) {
  return report.leftCount > 0 || ProductFilesLeft(progress);
}

bool ComposeFinalMessage(char* dest, size_t size, const RemovalReport& report, const RemovalProgress& progress,
                         bool recorded) {
  if (!AnythingLeft(report, progress)) return CopyText(dest, size, kRemovedText);
  const bool filesKept = ProductFilesLeft(progress);
  // Only the uninstaller itself left: its entry and shortcut stay with it.
  const int uninstaller = UninstallerIndex();
  const bool onlyUninstallerLeft = !filesKept && uninstaller >= 0 && progress.fileLeft[uninstaller];
  // Without an entry the program is kept beside another file left.
  const int program = PayloadIndexOf(kNorvuProgramName);
  const bool programKept = program >= 0 && !MayRemoveFile(program, progress, recorded);
  const char* advice = filesKept ? (recorded ? kKeptAdvice : programKept ? kKeptProgramAdvice : kKeptHereAdvice)
                                 : (onlyUninstallerLeft && recorded ? kRerunAdvice : "");
  char text[sizeof(report.lines) + sizeof(kKeptHeading) + sizeof(kKeptAdvice) + sizeof(kKeptHereAdvice) +
            sizeof(kKeptProgramAdvice) + sizeof(kRerunAdvice)];
  return CopyText(text, filesKept ? kKeptHeading : kLeftHeading) && AppendText(text, report.lines) &&
         (!report.full || AppendText(text, kMoreLeft)) && AppendText(text, advice) && CopyText(dest, size, text);
}
