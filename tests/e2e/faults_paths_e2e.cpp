// Faults of the destination that the user chooses: paths longer than the
// 127 characters of the old open-file record and than the 259 of the ANSI
// file functions, folder names of 99 and 100 characters, a folder tree 40
// levels deep walked in the Browse dialog, folder names with characters
// outside ASCII, and a drive without a medium. Each case checks what the
// user is shown, that setup ends with exit code 0, and what is left on disk
// and in the registry; a file of the user's beside the folders must come
// through unchanged.
#include <string>
#include <vector>

#include "setup_run.h"

namespace {

const char kBrowseCaption[] = "Setup - directory";

// A folder name of n characters: letters, so that the list sorts it plainly.
std::string LongName(char first, size_t n) {
  std::string name(n, 'x');
  for (size_t i = 0; i < n; ++i) name[i] = (char)('a' + (first - 'a' + i) % 26);
  name[0] = first;
  return name;
}

std::wstring Wide(const std::string& ansi) {
  std::wstring wide(ansi.size() + 1, L'\0');
  wide.resize(MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, &wide[0], (int)wide.size()) - 1);
  return wide;
}

// Makes every folder of root\a\b\..., however long the path: the wide
// functions with the \\?\ prefix have no 260-character limit.
void MakeFolders(const std::string& root, const std::vector<std::string>& names) {
  std::wstring path = L"\\\\?\\" + Wide(root);
  CreateDirectoryW(path.c_str(), nullptr);
  for (const std::string& name : names) {
    path += L"\\" + Wide(name);
    ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS)
        << "cannot make a folder " << path.size() << " characters long";
  }
}

// Removes a tree whatever its depth and the length of its paths.
void RemoveLongTree(const std::wstring& dir) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((dir + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = found.cFileName, path = dir + L"\\" + name;
      if (name == L"." || name == L"..") continue;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveLongTree(path);
      } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(dir.c_str());
}

std::string Join(const std::string& root, const std::vector<std::string>& names) {
  std::string path = root;
  for (const std::string& name : names) path += (path.back() == '\\' ? "" : "\\") + name;
  return path;
}

class PathFault : public InstallRun {
 protected:
  void SetUp() override {
    InstallRun::SetUp();
    for (const char* root : kRoots) RemoveLongTree(L"\\\\?\\" + Wide(root));
    user.Plant("D:\\My notes.txt", "The user's file on drive D.\r\n");
  }
  void TearDown() override {
    InstallRun::TearDown();
    for (const char* root : kRoots) RemoveLongTree(L"\\\\?\\" + Wide(root));
    user.Remove();
  }

  HWND OpenBrowse(HWND destination) {
    ui::Click(ui::Control(destination, IDC_BROWSE));
    return ui::WaitWindow(ui::WindowQuery().Class("#32770").Caption(kBrowseCaption).OfProcess(setup));
  }

  // The Browse dialog's path label reads folder\Norvu.
  void WaitLabel(HWND browse, const std::string& folder) {
    std::string label = Join(folder, {"Norvu"});
    ui::WaitUntil([&] { return ui::ControlText(browse, IDC_BROWSE_LABEL) == label; }, "the label " + label);
  }

  // Finish on the group page, then the success text: the installation in
  // dir is whole, with its shortcuts and registry entries.
  void FinishAndExpectInstalledIn(const std::string& dir) {
    ui::PressKey(WaitGroupPage(), VK_RETURN);
    ExpectSuccess();
    ExpectFolderWindow();
    ExpectProductFiles(dir);
    ExpectShortcuts(dir);
    ExpectEntries(kNtUninstallKey, dir);
    user.ExpectUnchanged();
  }

  void ExpectNothingRegistered() {
    EXPECT_FALSE(MachineKeyExists(kNtUninstallKey));
    EXPECT_FALSE(MachineKeyExists(kAppPathKey));
    EXPECT_FALSE(PathExists(group)) << group;
  }

  // The copy failure message with both paths, then the cancel text. A path
  // without spaces is one word that the message box does not break: when
  // it is wider than the screen, the box runs past the screen's edges
  // (under Wine), so only the text is checked, not the icon's pixels.
  void ExpectLongCopyFailure(const std::string& from, const std::string& to) {
    ui::MessageBoxView failure = WaitMessage();
    EXPECT_EQ(failure.text, "Unable to copy a file:\nFrom=" + from + "\nTo=" + to + "\nProgram will exit");
    EXPECT_EQ(failure.caption, "Error");
    RECT box = ui::ScreenRect(failure.window);
    if (box.left >= 0 && box.right <= GetSystemMetrics(SM_CXSCREEN)) EXPECT_EQ(failure.icon, ui::Icon::Error);
    ui::Answer(failure, IDOK);
    ExpectCancelled();
  }

  // The temporary copy of the first file, named in the copy failure.
  static std::string TempCopy() {
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "norvu.ex_";
  }

  // A failed file leaves its temporary copy where it was; it is removed.
  void ExpectTempCopyLeft() { EXPECT_TRUE(DeleteFileA(TempCopy().c_str())) << "no temporary copy " << TempCopy(); }

  // Escape and Yes on the destination page: the cancel text and the end.
  void CancelOnDestination(HWND destination) {
    ui::PressKey(destination, VK_ESCAPE);
    ui::Answer(WaitMessage(), IDYES);
    ExpectCancelled();
  }

  static constexpr const char* kRoots[] = {"D:\\Long", "D:\\Tree40", "D:\\Names"};
  UserFiles user;
};

// Folders of 60 characters each, one per level.
std::vector<std::string> SixtyWide(int levels) {
  std::vector<std::string> names;
  for (int i = 0; i < levels; ++i) names.push_back(LongName((char)('a' + i), 60));
  return names;
}

TEST_F(PathFault, PathsLongerThan127InstallWhole) {
  std::vector<std::string> folders = {"Long", LongName('p', 60), LongName('q', 60)};
  MakeFolders("D:\\Long", {folders[1], folders[2]});
  const std::string dir = Join("D:\\", folders) + "\\Norvu";
  ASSERT_GT(dir.size(), 127u);
  HWND destination = StartAtDestination();
  ChooseFolder(destination, "D:\\", folders);
  ui::PressKey(destination, VK_RETURN);
  FinishAndExpectInstalledIn(dir);
  EXPECT_GT((dir + "\\nvustart.kbm").size(), 127u);
}

TEST_F(PathFault, FilePathsLongerThan259StopTheCopyWithItsMessage) {
  // D:\Long and four levels of 60 characters: 251 characters, every level's
  // search pattern still under 260.
  std::vector<std::string> deep = SixtyWide(4);
  deep.insert(deep.begin(), "Long");
  MakeFolders("D:\\Long", SixtyWide(4));
  const std::string dir = Join("D:\\", deep) + "\\Norvu";
  ASSERT_LT(dir.size(), 260u);
  ASSERT_GT((dir + "\\norvu.exe").size(), 259u);
  HWND destination = StartAtDestination();
  ChooseFolder(destination, "D:\\", deep);
  ui::PressKey(destination, VK_RETURN);  // the folder itself fits and is made

  ExpectLongCopyFailure(TempCopy(), dir + "\\norvu.exe");
  EXPECT_TRUE(PathExists(dir));
  // Its subfolder's path is too long as well: it was not made.
  EXPECT_EQ(GetFileAttributesW((L"\\\\?\\" + Wide(dir) + L"\\IsoData").c_str()), INVALID_FILE_ATTRIBUTES);
  ExpectTempCopyLeft();
  ExpectNothingRegistered();
  user.ExpectUnchanged();
}

TEST_F(PathFault, FolderPathLongerThan259IsAskedAboutThenStopsTheCopy) {
  std::vector<std::string> deep = SixtyWide(4);
  deep.insert(deep.begin(), "Long");
  MakeFolders("D:\\Long", SixtyWide(4));
  HWND destination = StartAtDestination();
  HWND browse = OpenBrowse(destination);
  ui::SelectComboText(ui::Control(browse, IDC_DRIVES), "D:\\");
  std::string path = "D:\\";
  for (const std::string& folder : deep) {
    ui::DoubleClickListText(ui::Control(browse, IDC_FOLDER_LIST), folder);
    WaitLabel(browse, path = Join(path, {folder}));
  }
  // Twice into the folder that would be made, which does not exist yet.
  for (int i = 0; i < 2; ++i) {
    ui::DoubleClickListText(ui::Control(browse, IDC_FOLDER_LIST), "Norvu");
    WaitLabel(browse, path = Join(path, {"Norvu"}));
    EXPECT_EQ(ui::ListRows(ui::Control(browse, IDC_FOLDER_LIST)), (std::vector<std::string>{"........", "Norvu"}));
  }
  const std::string dir = path + "\\Norvu";
  ASSERT_GT(dir.size(), 259u);
  ui::PressKey(browse, VK_RETURN);
  ui::WaitGone(browse, "the Browse dialog");
  ui::WaitUntil([&] { return ui::ControlText(destination, IDC_PATH) == dir; }, "the long folder on the page");

  NextIntoExistingFolder(destination);  // not made: the question, answered Yes
  ExpectLongCopyFailure(TempCopy(), dir + "\\norvu.exe");
  ExpectTempCopyLeft();
  EXPECT_FALSE(PathExists(Join("D:\\", deep) + "\\Norvu"));
  ExpectNothingRegistered();
  user.ExpectUnchanged();
}

TEST_F(PathFault, FolderNamesOf100And99CharactersInstallWhole) {
  // A folder of 100 characters on the disk, walked into; a name of 99 typed.
  const std::string hundred = LongName('h', 100), ninetyNine = LongName('n', 99);
  MakeFolders("D:\\Names", {hundred});
  HWND destination = StartAtDestination();
  HWND browse = OpenBrowse(destination);
  ui::SelectComboText(ui::Control(browse, IDC_DRIVES), "D:\\");
  ui::DoubleClickListText(ui::Control(browse, IDC_FOLDER_LIST), "Names");
  ui::DoubleClickListText(ui::Control(browse, IDC_FOLDER_LIST), hundred);
  WaitLabel(browse, "D:\\Names\\" + hundred);

  HWND name = ui::Control(browse, IDC_FOLDER_NAME);
  ui::Click(name);
  ui::PressKey(browse, VK_END);
  for (int i = 0; i < 5; ++i) ui::PressKey(browse, VK_BACK);  // "Norvu" goes
  ui::WaitUntil([&] { return ui::Text(name).empty(); }, "an empty name field");
  ui::TypeText(browse, ninetyNine);
  ui::WaitUntil([&] { return ui::Text(name) == ninetyNine; }, "the 99-character name");
  ui::TypeText(browse, "z");  // a 100th character is refused
  ui::Pause(300);
  EXPECT_EQ(ui::Text(name), ninetyNine);
  ui::PressKey(browse, VK_RETURN);
  ui::WaitGone(browse, "the Browse dialog");
  const std::string dir = "D:\\Names\\" + hundred + "\\" + ninetyNine;
  ui::WaitUntil([&] { return ui::ControlText(destination, IDC_PATH) == dir; }, "the 99-character folder on the page");

  ui::PressKey(destination, VK_RETURN);
  FinishAndExpectInstalledIn(dir);
}

TEST_F(PathFault, FolderTree40LevelsDeepIsWalkedDownAndBackUp) {
  std::vector<std::string> levels;
  for (int i = 1; i <= 40; ++i) levels.push_back((i < 10 ? "L0" : "L") + std::to_string(i));
  MakeFolders("D:\\Tree40", levels);
  HWND destination = StartAtDestination();
  HWND browse = OpenBrowse(destination);
  HWND list = ui::Control(browse, IDC_FOLDER_LIST);
  ui::SelectComboText(ui::Control(browse, IDC_DRIVES), "D:\\");
  ui::DoubleClickListText(list, "Tree40");
  std::string path = "D:\\Tree40";
  WaitLabel(browse, path);
  for (const std::string& level : levels) {
    ui::DoubleClickListText(list, level);
    WaitLabel(browse, path += "\\" + level);
  }
  EXPECT_EQ(ui::ListRows(list), (std::vector<std::string>{"........", "Norvu"}));
  // Back up, one level at a time, to the drive's root, where the up row goes.
  for (int i = 0; i < 41; ++i) {
    ui::DoubleClickListText(list, "........");
    path.resize(path.find_last_of('\\'));
    WaitLabel(browse, path.size() == 2 ? "D:\\" : path);
  }
  EXPECT_NE(ui::ListRowText(list, 0), "........");
  ui::PressKey(browse, VK_RETURN);
  ui::WaitGone(browse, "the Browse dialog");
  ui::WaitUntil([&] { return ui::ControlText(destination, IDC_PATH) == "D:\\Norvu"; }, "D:\\Norvu on the page");
  CancelOnDestination(destination);
  EXPECT_FALSE(PathExists("D:\\Norvu"));
  ExpectNothingRegistered();
  user.ExpectUnchanged();
}

TEST_F(PathFault, FolderNamesOutsideAsciiInstallWhole) {
  // Letters of the system's ANSI code page that are not ASCII: those of
  // these that the code page holds.
  const wchar_t candidates[] = L"\u00c4rger Donn\u00e9es \u00fcber Caf\u00e9 \u00f1 \u00df \u00f8 \u00c5 \u20ac";
  std::wstring wide;
  std::string ansi;
  for (const wchar_t* c = candidates; *c; ++c) {
    char bytes[8];
    BOOL lost = FALSE;
    int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, c, 1, bytes, sizeof(bytes), nullptr, &lost);
    if (n > 0 && !lost) {
      wide += *c;
      ansi.append(bytes, n);
    }
  }
  size_t outside = 0;
  for (char c : ansi) outside += (unsigned char)c >= 0x80;
  if (outside == 0) GTEST_SKIP() << "the ANSI code page " << GetACP() << " holds none of the letters tried";
  std::string trimmed = ansi.substr(0, ansi.find_last_not_of(' ') + 1);

  MakeFolders("D:\\Names", {trimmed});
  HWND destination = StartAtDestination();
  ChooseFolder(destination, "D:\\", {"Names", trimmed});
  ui::PressKey(destination, VK_RETURN);
  const std::string dir = "D:\\Names\\" + trimmed + "\\Norvu";
  FinishAndExpectInstalledIn(dir);
  // The same folder by its wide name: no second one was made.
  EXPECT_NE(GetFileAttributesW((L"D:\\Names\\" + Wide(trimmed) + L"\\Norvu\\norvu.exe").c_str()),
            INVALID_FILE_ATTRIBUTES);
}

TEST_F(PathFault, FolderNameOutsideTheAnsiCodePageEndsWithTheCopyFailure) {
  // Cyrillic letters, which the ANSI code page does not hold: the list and
  // every ANSI path show them as question marks.
  const std::wstring wide = L"\u0414\u0430\u043d\u043d\u044b\u0435";
  char ansi[32];
  BOOL lost = FALSE;
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, ansi, sizeof(ansi), nullptr, &lost);
  if (!lost) GTEST_SKIP() << "the ANSI code page " << GetACP() << " holds these letters";
  MakeFolders("D:\\Names", {});
  ASSERT_TRUE(CreateDirectoryW((L"D:\\Names\\" + wide).c_str(), nullptr));
  HWND destination = StartAtDestination();
  ChooseFolder(destination, "D:\\", {"Names", ansi});
  const std::string dir = std::string("D:\\Names\\") + ansi + "\\Norvu";

  NextIntoExistingFolder(destination);  // a name with '?' cannot be made
  ExpectCopyFailure(TempCopy(), dir + "\\norvu.exe");
  ExpectTempCopyLeft();
  EXPECT_EQ(GetFileAttributesW((L"D:\\Names\\" + wide + L"\\Norvu").c_str()), INVALID_FILE_ATTRIBUTES);
  ExpectNothingRegistered();
  user.ExpectUnchanged();
}

TEST_F(PathFault, UsersFileWhereTheFolderWouldGoIsKept) {
  MakeFolders("D:\\Names", {});
  user.Plant("D:\\Names\\Norvu", "A file of the user's named like the folder.\r\n");
  HWND destination = StartAtDestination();
  ChooseFolder(destination, "D:\\", {"Names"});
  NextIntoExistingFolder(destination);
  ExpectCopyFailure(TempCopy(), "D:\\Names\\Norvu\\norvu.exe");
  ExpectTempCopyLeft();
  ExpectNothingRegistered();
  user.ExpectUnchanged();
}

TEST_F(PathFault, DriveWithoutAMediumIsListedButRefused) {
  ASSERT_TRUE(GetDriveTypeA("N:\\") == DRIVE_NO_ROOT_DIR || GetDriveTypeA("N:\\") == DRIVE_CDROM)
      << "drive N: is not the test session's drive without a medium";
  char roots[128];
  DWORD length = GetLogicalDriveStringsA(sizeof(roots), roots);
  bool listed = false;
  for (const char* r = roots; r < roots + length && *r; r += strlen(r) + 1) listed = listed || strcmp(r, "N:\\") == 0;
  ASSERT_TRUE(listed) << "the system does not list drive N:";

  MakeFolders("D:\\Names", {});
  HWND destination = StartAtDestination();
  HWND browse = OpenBrowse(destination);
  ui::SelectComboText(ui::Control(browse, IDC_DRIVES), "N:\\");
  WaitLabel(browse, "N:\\");
  EXPECT_EQ(ui::ListRows(ui::Control(browse, IDC_FOLDER_LIST)), (std::vector<std::string>{"Norvu"}));
  EXPECT_EQ(ui::ControlText(browse, IDC_FREE_SPACE), " Available: 0 KB, Required: 1400 KB");
  ui::PressKey(browse, VK_RETURN);  // OK refuses
  ui::MessageBoxView refusal = WaitMessage();
  EXPECT_EQ(refusal.text, kNotEnoughSpace);
  EXPECT_EQ(refusal.icon, ui::Icon::Error);
  ui::Answer(refusal, IDNO);
  ui::PressKey(browse, VK_ESCAPE);  // Cancel keeps drive N
  ui::WaitGone(browse, "the Browse dialog");
  ui::WaitUntil([&] { return ui::ControlText(destination, IDC_PATH) == "N:\\Norvu"; }, "N:\\Norvu on the page");
  ui::PressKey(destination, VK_RETURN);  // Next refuses as well
  ui::MessageBoxView again = WaitMessage();
  EXPECT_EQ(again.text, kNotEnoughSpace);
  EXPECT_EQ(again.caption, kSetupCaption);
  ui::Answer(again, IDYES);

  // Another drive then installs as usual.
  ChooseFolder(destination, "D:\\", {"Names"});
  ui::PressKey(destination, VK_RETURN);
  FinishAndExpectInstalledIn("D:\\Names\\Norvu");
}

}  // namespace
