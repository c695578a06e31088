// The destination page and its Browse dialog, run modally in this process
// and driven through their real controls.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "destination/browse_dialog.h"
#include "destination/drive_list.h"
#include "destination/drive_table.h"
#include "destination/folder_rights.h"
#include "dialog_script.h"
#include "resource.h"
#include "shell/pages.h"
#include "shell/setup_state.h"
#include "shell/texts.h"

namespace {

const char kNoName[] = "You were forgoten to select an directory";
const char kCreateFailed[] = "Directory allready exsist or disk isn't writeable.\nContinue with installation anyway";
const char kBrowseCaption[] = "Setup - directory";

bool DirectoryExists(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
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
  PageResult result = Run({
      OnPage(IDC_BROWSE, [](HWND page) { Press(page, IDC_BROWSE); }),
      OnDialog(kBrowseCaption, [](HWND b) {
        SelectDrive(b, 'D');
        SetDlgItemTextA(b, IDC_FOLDER_NAME, "Fresh");
        Press(b, IDOK);
      }),
      OnPage(IDC_BROWSE, [](HWND page) { Press(page, IDOK); }),
  });
  EXPECT_EQ(result, 0);
  EXPECT_TRUE(DirectoryExists("D:\\Fresh"));
  // Wine keeps no folder's rights, so they are read from the descriptor the
  // folder is made with: a protected list (nothing taken from the parent) of
  // three entries, each inherited by files and folders below.
  PSECURITY_DESCRIPTOR rights = MakeInstallFolderRights();
  ASSERT_NE(rights, nullptr);
  EXPECT_TRUE(IsValidSecurityDescriptor(rights));
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision;
  GetSecurityDescriptorControl(rights, &control, &revision);
  EXPECT_EQ(control & (SE_DACL_PRESENT | SE_DACL_PROTECTED), SE_DACL_PRESENT | SE_DACL_PROTECTED);
  BOOL present = FALSE, defaulted;
  PACL list = nullptr;
  GetSecurityDescriptorDacl(rights, &present, &list, &defaulted);
  ASSERT_TRUE(present && list != nullptr);
  const struct {
    WELL_KNOWN_SID_TYPE who;
    DWORD access;
  } expected[] = {{WinLocalSystemSid, FILE_ALL_ACCESS},
                  {WinBuiltinAdministratorsSid, FILE_ALL_ACCESS},
                  {WinBuiltinUsersSid, FILE_GENERIC_READ | FILE_GENERIC_EXECUTE}};
  ASSERT_EQ(list->AceCount, 3);
  for (int i = 0; i < 3; ++i) {
    ACCESS_ALLOWED_ACE* entry = nullptr;
    ASSERT_TRUE(GetAce(list, i, (void**)&entry));
    EXPECT_EQ(entry->Header.AceType, ACCESS_ALLOWED_ACE_TYPE) << i;
    EXPECT_EQ(entry->Header.AceFlags, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE) << i;
    EXPECT_EQ(entry->Mask, expected[i].access) << i;
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof(sid);
    ASSERT_TRUE(CreateWellKnownSid(expected[i].who, nullptr, sid, &size));
    EXPECT_TRUE(EqualSid(&entry->SidStart, sid)) << i;
  }
  LocalFree(rights);
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
