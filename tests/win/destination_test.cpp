// The destination page and its Browse dialog, run modally in this process
// and driven through their real controls.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <sddl.h>

#include <string>

#include "destination/browse_dialog.h"
#include "destination/drive_list.h"
#include "destination/drive_table.h"
#include "destination/folder_rights.h"
#include "dialog_script.h"
#include "rights_check.h"
#include "tests/wine_host.h"
#include "resource.h"
#include "shell/pages.h"
#include "shell/setup_state.h"
#include "shell/texts.h"

namespace {

const char kNoName[] = "You were forgoten to select an directory";
const char kCreateFailed[] = "Directory allready exsist or disk isn't writeable.\nContinue with installation anyway";
const char kForeignFolder[] = "\nbelongs to another user or leads to another folder.\nPlease choose another folder.";
const char kBrowseCaption[] = "Setup - directory";

bool DirectoryExists(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// A path for a command line of the Unix host: quoted, after a space.
std::string Quoted(const std::string& path) { return " \"" + UnixPath(path) + "\""; }

// The owner that GetFileSecurityA reports for path, as text.
std::string OwnerOf(const std::string& path) {
  BYTE descriptor[1024];
  DWORD size;
  PSID owner = nullptr;
  BOOL defaulted;
  char* text = nullptr;
  if (!GetFileSecurityA(path.c_str(), OWNER_SECURITY_INFORMATION, descriptor, sizeof(descriptor), &size) ||
      !GetSecurityDescriptorOwner(descriptor, &owner, &defaulted) || !ConvertSidToStringSidA(owner, &text)) {
    return "";
  }
  std::string result = text;
  LocalFree(text);
  return result;
}

void SelectDrive(HWND browse, char letter) {
  HWND combo = GetDlgItem(browse, IDC_DRIVES);
  char root[] = {letter, ':', '\\', 0};
  int index = (int)SendMessageA(combo, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)root);
  ASSERT_GE(index, 0) << root;
  SendMessageA(combo, CB_SETCURSEL, index, 0);
  SendMessageA(browse, WM_COMMAND, MAKEWPARAM(IDC_DRIVES, CBN_SELENDOK), (LPARAM)combo);
}

// Selects a list row by its text and double-clicks it as far as the dialog
// can tell: the notification the list view sends for a double-click.
void DoubleClickRow(HWND browse, int listId, const char* text) {
  HWND list = GetDlgItem(browse, listId);
  LVFINDINFOA find = {LVFI_STRING, text};
  int row = (int)SendMessageA(list, LVM_FINDITEMA, (WPARAM)-1, (LPARAM)&find);
  ASSERT_GE(row, 0) << text;
  ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  NMHDR header = {list, (UINT_PTR)listId, (UINT)NM_DBLCLK};
  SendMessageA(browse, WM_NOTIFY, listId, (LPARAM)&header);
}

std::string Rows(HWND browse, int listId) {
  HWND list = GetDlgItem(browse, listId);
  std::string rows;
  int n = ListView_GetItemCount(list);
  for (int i = 0; i < n; ++i) {
    char text[256];
    ListView_GetItemText(list, i, 0, text, sizeof(text));
    rows += std::string(i ? "|" : "") + text;
  }
  return rows;
}

class DestinationPage : public testing::Test {
 protected:
  void SetUp() override {
    SetCurrentDirectoryA("C:\\");
    CopyText("");
  }
  static void CopyText(const char*) {
    FolderName[0] = InstallDir[0] = BrowsePath[0] = '\0';
    FreeKB = 0;
  }
  PageResult Run(std::vector<ScriptStep> steps) {
    DialogScript script(std::move(steps));
    PageResult result = ShowDestinationPage(nullptr);
    EXPECT_TRUE(script.Finished()) << "steps done: " << script.StepsDone();
    return result;
  }
};

// Choose the folder "name" on drive D in the Browse dialog, then Next.
using Steps = std::vector<ScriptStep>;

Steps NextOn(const char* name) {
  return {
      OnPage(IDC_BROWSE, [](HWND page) { Press(page, IDC_BROWSE); }),
      OnDialog(kBrowseCaption, [=](HWND b) {
        SelectDrive(b, 'D');
        SetDlgItemTextA(b, IDC_FOLDER_NAME, name);
        Press(b, IDOK);
      }),
      OnPage(IDC_BROWSE, [](HWND page) { Press(page, IDOK); }),
  };
}

Steps operator+(Steps first, const Steps& then) {
  first.insert(first.end(), then.begin(), then.end());
  return first;
}

TEST_F(DestinationPage, ProposesNorvuBelowProgramFilesAndCancelAsksFirst) {
  std::string shown, caption;
  PageResult result = Run({
      OnPage(IDC_BROWSE, [&](HWND page) { shown = ItemText(page, IDC_PATH); Press(page, IDCANCEL); }),
      AnswerBox(kConfirmCancel, IDNO, &caption),
      OnPage(IDC_BROWSE, [](HWND page) { Press(page, IDCANCEL); }),
      AnswerBox(kConfirmCancel, IDYES),
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(shown, "C:\\Program files\\Norvu");
  EXPECT_EQ(caption, kSetupCaption);
  EXPECT_STREQ(FolderName, "Norvu");
  EXPECT_EQ(DirSecurity.nLength, sizeof(SECURITY_ATTRIBUTES));
}

TEST_F(DestinationPage, ExistingDirectoryIsAskedAboutEachTimeAndYesGoesOn) {
  CreateDirectoryA("D:\\Existing", nullptr);
  std::string shown;
  PageResult result = Run({
      OnPage(IDC_BROWSE, [](HWND page) { Press(page, IDC_BROWSE); }),
      OnDialog(kBrowseCaption, [](HWND b) {
        SelectDrive(b, 'D');
        SetDlgItemTextA(b, IDC_FOLDER_NAME, "Existing");
        Press(b, IDOK);
      }),
      OnPage(IDC_BROWSE, [&](HWND page) { shown = ItemText(page, IDC_PATH); Press(page, IDOK); }),
      AnswerBox(kCreateFailed, IDNO),
      OnPage(IDC_BROWSE, [](HWND page) { Press(page, IDOK); }),
      AnswerBox(kCreateFailed, IDYES),
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(shown, "D:\\Existing");  // a root gets no second backslash
  EXPECT_STREQ(InstallDir, "D:\\Existing");
}

TEST_F(DestinationPage, NextCreatesTheDirectoryOneLevelDeepWithItsOwnRights) {
  RemoveDirectoryA("D:\\Fresh");
  EXPECT_EQ(Run(NextOn("Fresh")), 0);
  EXPECT_TRUE(DirectoryExists("D:\\Fresh"));
  // Made with rights of its own, not its parent's.
  CreateDirectoryA("D:\\Inherited", nullptr);
  EXPECT_TRUE(EveryoneHasAnEntry("D:\\Inherited"));
  RemoveDirectoryA("D:\\Inherited");
  EXPECT_FALSE(EveryoneHasAnEntry("D:\\Fresh"));
  // Which ones Wine does not keep: they are read from the descriptor the
  // folder is made with, a protected list (nothing taken from the parent).
  PSECURITY_DESCRIPTOR rights = MakeInstallFolderRights();
  ExpectRights(rights, true,
               {{WellKnownSid(WinLocalSystemSid), FILE_ALL_ACCESS},
                {WellKnownSid(WinBuiltinAdministratorsSid), FILE_ALL_ACCESS},
                {WellKnownSid(WinBuiltinUsersSid), FILE_GENERIC_READ | FILE_GENERIC_EXECUTE}});
  LocalFree(rights);
}

// A token without Administrators on this thread, as a limited user's setup
// has on Windows 2000 and XP, which ignore the manifest's request.
class LimitedUser {
 public:
  LimitedUser() {
    BYTE administrators[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof(administrators);
    SID_AND_ATTRIBUTES denied = {administrators, 0};
    HANDLE process = nullptr, restricted = nullptr;
    BOOL member = TRUE;
    if (CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &size) &&
        OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &process) &&
        CreateRestrictedToken(process, 0, 1, &denied, 0, nullptr, 0, nullptr, &restricted) &&
        DuplicateToken(restricted, SecurityImpersonation, &token_) && SetThreadToken(nullptr, token_) &&
        CheckTokenMembership(nullptr, administrators, &member)) {
      limited = !member;
    }
    CloseHandle(process);
    CloseHandle(restricted);
  }
  ~LimitedUser() {
    RevertToSelf();
    CloseHandle(token_);
  }
  bool limited = false;

 private:
  HANDLE token_ = nullptr;
};

// A folder that another user owns (Wine names the owner of a Unix folder
// of another user Anonymous), and a Unix symbolic link to a folder of ours
// (a reparse point to Wine, as a junction is to Windows).
class ForeignFolders : public DestinationPage {
 protected:
  void SetUp() override {
    DestinationPage::SetUp();
    TearDown();
    CreateDirectoryA(kForeign, nullptr);
    CreateDirectoryA(kOwn, nullptr);
    const std::string own = OwnerOf(kOwn);
    ASSERT_TRUE(RunOnHost("Z:\\bin\\chown 65534" + Quoted(kForeign), [&] { return OwnerOf(kForeign) != own; }));
    ASSERT_TRUE(RunOnHost("Z:\\bin\\ln -s" + Quoted(kOwn) + Quoted(kLink), [] { return DirectoryExists(kLink); }));
    ASSERT_EQ(OwnerOf(kLink), own);
  }
  void TearDown() override {
    RemoveDirectoryA(kForeign);
    RunOnHost("Z:\\bin\\rm -f" + Quoted(kLink), [] { return !DirectoryExists(kLink); });
    RemoveDirectoryA(kOwn);
  }
  static constexpr const char* kForeign = "D:\\Foreign";
  static constexpr const char* kOwn = "D:\\Own";
  static constexpr const char* kLink = "D:\\Linked";
};

// Where setup runs with administrator rights, both are refused with the
// folder's name, and the page stays for another choice.
TEST_F(ForeignFolders, AFolderOfAnotherUserOrALinkIsRefusedAndThePageStays) {
  std::string caption;
  PageResult result = Run(NextOn("Foreign") + Steps{AnswerBox(kForeign + std::string(kForeignFolder), IDOK, &caption)} +
                          NextOn("Linked") +
                          Steps{AnswerBox(kLink + std::string(kForeignFolder), IDOK),
                                OnPage(IDC_BROWSE, [](HWND page) { Press(page, IDCANCEL); }),
                                AnswerBox(kConfirmCancel, IDYES)});
  EXPECT_EQ(result, 1);
  EXPECT_EQ(caption, kSetupCaption);
}

// Without administrator rights the folder takes its parent's rights, so
// that the user who makes it can write it; any folder that exists is asked
// about as before.
TEST_F(ForeignFolders, ALimitedUsersFolderTakesItsParentsRightsAndAnExistingOneIsAskedAbout) {
  RemoveDirectoryA("D:\\Fresh");
  LimitedUser user;
  ASSERT_TRUE(user.limited);
  PageResult result = Run(NextOn("Foreign") + Steps{AnswerBox(kCreateFailed, IDNO)} + NextOn("Linked") +
                          Steps{AnswerBox(kCreateFailed, IDNO)} + NextOn("Fresh"));
  EXPECT_EQ(result, 0);
  EXPECT_TRUE(EveryoneHasAnEntry("D:\\Fresh"));
  RemoveDirectoryA("D:\\Fresh");
}

TEST_F(DestinationPage, BrowseCancelledWithAnEmptyNameMakesNextWarn) {
  std::string shown;
  int focus = 0;
  PageResult result = Run({
      OnPage(IDC_BROWSE, [](HWND page) { Press(page, IDC_BROWSE); }),
      OnDialog(kBrowseCaption, [](HWND b) {
        SetDlgItemTextA(b, IDC_FOLDER_NAME, "");
        Press(b, IDCANCEL);
      }),
      OnPage(IDC_BROWSE, [&](HWND page) { shown = ItemText(page, IDC_PATH); Press(page, IDOK); }),
      AnswerBox(kNoName, IDOK),
      OnPage(IDC_BROWSE, [&](HWND page) { focus = GetDlgCtrlID(GetFocus()); Press(page, IDCANCEL); }),
      AnswerBox(kConfirmCancel, IDYES),
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(shown, "C:\\Program files\\");
  EXPECT_EQ(focus, IDC_PATH);
}

TEST_F(DestinationPage, NotEnoughFreeSpaceRefusesNext) {
  // Drive S is a 1 MB memory drive where the test session could mount one.
  if (GetDriveTypeA("S:\\") == DRIVE_NO_ROOT_DIR) GTEST_SKIP() << "no small drive S: in this session";
  PageResult result = Run({
      OnPage(IDC_BROWSE, [](HWND page) { Press(page, IDC_BROWSE); }),
      OnDialog(kBrowseCaption, [](HWND b) { SelectDrive(b, 'S'); Press(b, IDCANCEL); }),
      OnPage(IDC_BROWSE, [](HWND page) { Press(page, IDOK); }),
      AnswerBox(kNotEnoughSpace, IDYES),
      OnPage(IDC_BROWSE, [](HWND page) { Press(page, IDCANCEL); }),
      AnswerBox(kConfirmCancel, IDYES),
  });
  EXPECT_EQ(result, 1);
  EXPECT_LT(FreeKB, 1400u);
  EXPECT_FALSE(DirectoryExists("S:\\Norvu"));
}

class BrowseDialog : public testing::Test {
 protected:
  void SetUp() override {
    BuildDriveTable();
    CopyTextTo(FolderName, "Norvu");
    CreateDirectoryA("D:\\tree", nullptr);
    CreateDirectoryA("D:\\tree\\Alpha", nullptr);
    CreateDirectoryA("D:\\tree\\Beta", nullptr);
    CreateDirectoryA("D:\\tree\\.hidden", nullptr);
    CloseHandle(CreateFileA("D:\\tree\\file.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  }
  static void CopyTextTo(char* dest, const char* text) { lstrcpyA(dest, text); }
  void Run(std::vector<ScriptStep> steps) {
    DialogScript script(std::move(steps));
    ShowBrowseDialog(nullptr);
    EXPECT_TRUE(script.Finished()) << "steps done: " << script.StepsDone();
  }
};

TEST_F(BrowseDialog, OpensWithNorvuAndTheFreeSpaceLabel) {
  CopyTextTo(FolderName, "Other");
  FreeKB = 2345;  // the free space of the chosen drive, as last queried
  std::string name, label, pathLabel;
  Run({OnDialog(kBrowseCaption, [&](HWND b) {
    name = ItemText(b, IDC_FOLDER_NAME);
    label = ItemText(b, IDC_FREE_SPACE);
    pathLabel = ItemText(b, IDC_BROWSE_LABEL);
    Press(b, IDCANCEL);
  })});
  EXPECT_EQ(name, "Norvu");
  EXPECT_STREQ(FolderName, "Norvu");
  // The list and its label were built before the name was reset.
  EXPECT_EQ(pathLabel, std::string(BrowsePath) + "\\Other");
  EXPECT_EQ(label, " Available: 2345 KB, Required: 1400 KB");
}

TEST_F(BrowseDialog, AHundredthCharacterIsRefused) {
  std::string name99(99, 'a'), name100(100, 'b'), shown;
  Run({OnDialog(kBrowseCaption, [&](HWND b) {
    SetDlgItemTextA(b, IDC_FOLDER_NAME, name99.c_str());
    SetDlgItemTextA(b, IDC_FOLDER_NAME, name100.c_str());
    shown = ItemText(b, IDC_FOLDER_NAME);
    Press(b, IDCANCEL);
  })});
  EXPECT_EQ(shown, name99);
  EXPECT_EQ(FolderName, name99);
  EXPECT_EQ(EditGuard, 0);
}

TEST_F(BrowseDialog, OkChecksTheNameAndTheFreeSpace) {
  std::string caption;
  Run({
      OnDialog(kBrowseCaption, [](HWND b) { SetDlgItemTextA(b, IDC_FOLDER_NAME, ""); Press(b, IDOK); }),
      AnswerBox("You forget to select a directory", IDOK, &caption),
      OnDialog(kBrowseCaption, [](HWND b) {
        SetDlgItemTextA(b, IDC_FOLDER_NAME, "Norvu");
        FreeKB = 1399;
        Press(b, IDOK);
      }),
      AnswerBox(kNotEnoughSpace, IDNO),
      OnDialog(kBrowseCaption, [](HWND b) { FreeKB = 1400; Press(b, IDOK); }),
  });
  EXPECT_EQ(caption, "Warning");
}

TEST_F(BrowseDialog, DriveChoiceResetsThePathAndCancelKeepsIt) {
  FreeKB = 2345;  // drive N of the test session has no medium: 0
  std::string label;
  Run({OnDialog(kBrowseCaption, [&](HWND b) {
    SelectDrive(b, 'N');
    label = ItemText(b, IDC_FREE_SPACE);
    Press(b, IDCANCEL);
  })});
  EXPECT_STREQ(BrowsePath, "N:\\");
  EXPECT_EQ(DriveTable[SelectedDrive * kDriveSlotSize], 'N');
  EXPECT_EQ(label, " Available: 0 KB, Required: 1400 KB");
  EXPECT_EQ(FreeKB, 0u);
}

TEST_F(BrowseDialog, DoubleClicksWalkTheFolders) {
  lstrcpyA(BrowsePath, "D:\\tree");
  std::string rows, afterEnter, afterTarget, label, afterUp;
  Run({OnDialog(kBrowseCaption, [&](HWND b) {
    rows = Rows(b, IDC_FOLDER_LIST);
    DoubleClickRow(b, IDC_FOLDER_LIST, "Alpha");
    afterEnter = BrowsePath;
    DoubleClickRow(b, IDC_FOLDER_LIST, "Norvu");  // the folder to be created
    afterTarget = Rows(b, IDC_FOLDER_LIST);
    label = ItemText(b, IDC_BROWSE_LABEL);
    DoubleClickRow(b, IDC_FOLDER_LIST, "........");
    DoubleClickRow(b, IDC_FOLDER_LIST, "........");
    DoubleClickRow(b, IDC_FOLDER_LIST, "........");
    afterUp = BrowsePath;
    Press(b, IDCANCEL);
  })});
  EXPECT_EQ(rows, "........|Alpha|Beta|Norvu");  // sorted; files and dot names left out
  EXPECT_EQ(afterEnter, "D:\\tree\\Alpha");
  EXPECT_EQ(afterTarget, "........|Norvu");
  EXPECT_EQ(label, "D:\\tree\\Alpha\\Norvu\\Norvu");
  EXPECT_EQ(afterUp, "D:\\");
}

TEST_F(BrowseDialog, DoubleClickWithoutSelectionOnlyRefills) {
  lstrcpyA(BrowsePath, "D:\\tree");
  std::string rows;
  Run({OnDialog(kBrowseCaption, [&](HWND b) {
    HWND list = GetDlgItem(b, IDC_FOLDER_LIST);
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    NMHDR header = {list, IDC_FOLDER_LIST, (UINT)NM_DBLCLK};
    SendMessageA(b, WM_NOTIFY, IDC_FOLDER_LIST, (LPARAM)&header);
    rows = Rows(b, IDC_FOLDER_LIST);
    Press(b, IDCANCEL);
  })});
  EXPECT_STREQ(BrowsePath, "D:\\tree");
  EXPECT_EQ(rows, "........|Alpha|Beta|Norvu");
}

}  // namespace
