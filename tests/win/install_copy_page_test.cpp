// The copy page run modally in this process. Each test makes its own payload:
// a copy of this program whose resources are replaced by the copy page's
// template and seven small compressed files, loaded as a data file and used
// as the module the page loads from. The installer's real payload is checked
// separately, when this build has it.
#include <windows.h>
#include <gtest/gtest.h>
#include <stdint.h>

#include <set>
#include <string>
#include <vector>

#include "install/payload_file.h"
#include "install/payload_table.h"
#include "resource.h"
#include "rights_check.h"
#include "shell/pages.h"
#include "shell/private_folder.h"
#include "shell/rights.h"
#include "shell/setup_state.h"
#include "tools/szdd/szdd_decode.h"
#include "tools/szdd/szdd_encode.h"

namespace {

// ---------------------------------------------------------------------------
// Files and folders.

std::string ReadWhole(const std::string& path) {
  std::string bytes;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<missing>";
  char buffer[65536];
  DWORD got;
  while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

void WriteWhole(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  DWORD put = 0;
  WriteFile(file, bytes.data(), (DWORD)bytes.size(), &put, nullptr);
  CloseHandle(file);
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

void RemoveTree(const std::string& path) {
  for (const std::string& name : FolderEntries(path)) {
    std::string child = path + "\\" + name;
    SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (GetFileAttributesA(child.c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
      RemoveTree(child);
    } else {
      DeleteFileA(child.c_str());
    }
  }
  RemoveDirectoryA(path.c_str());
}

// The one entry of folder, or "" when it holds none or more.
std::string OnlyEntry(const std::string& folder) {
  std::vector<std::string> names = FolderEntries(folder);
  return names.size() == 1 ? names[0] : "";
}

std::string SystemTempPath() {
  char path[MAX_PATH];
  GetTempPathA(sizeof(path), path);
  return path;
}

// ---------------------------------------------------------------------------
// Product stand-ins and the module that carries them.

std::string Noise(size_t length, uint32_t seed) {
  std::string bytes(length, '\0');
  for (char& c : bytes) {
    seed = seed * 1664525u + 1013904223u;
    c = (char)(seed >> 24);
  }
  return bytes;
}

std::string Repeating(size_t length, const std::string& pattern) {
  std::string bytes;
  while (bytes.size() < length) bytes += pattern;
  bytes.resize(length);
  return bytes;
}

// Seven files of different kinds: text, noise that does not compress (so
// its compressed copy is the larger), long runs, and an empty file.
std::vector<std::string> ProductFiles() {
  return {
      Repeating(20000, "MZ norvu executable\r\n") + Noise(3000, 1),
      Repeating(268, "[norvu]\r\nkey=value\r\n"),
      Noise(5000, 2),
      Repeating(7000, "ferrox") + Noise(700, 3),
      std::string(30000, '\0') + Repeating(9000, "\x01\x02\x03"),
      std::string(),
      Repeating(4096, "uninstall ") + Noise(100, 4),
  };
}

char LastLetter(const char* destination) { return destination[strlen(destination) - 1]; }

// A compressed file as the project's own codec writes it.
std::string SzddCompress(const std::string& data, char replaced) {
  std::vector<uint8_t> out;
  szdd::Compress((const uint8_t*)data.data(), data.size(), (uint8_t)replaced, &out);
  return std::string(out.begin(), out.end());
}

std::vector<std::string> Compressed(const std::vector<std::string>& files) {
  std::vector<std::string> compressed;
  for (int i = 0; i < kPayloadCount; ++i)
    compressed.push_back(SzddCompress(files[i], LastLetter(PayloadTable.destination[i])));
  return compressed;
}

// A copy of this program that holds the copy page's template and the given
// resources of type 10 (an empty one is left out), loaded as a data file.
HMODULE BuildModule(const std::string& path, const std::vector<std::pair<std::string, std::string>>& data) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, sizeof(self));
  if (!CopyFileA(self, path.c_str(), FALSE)) return nullptr;
  HMODULE own = GetModuleHandleA(nullptr);
  HRSRC dialog = FindResourceA(own, "IDD_COPY", MAKEINTRESOURCEA(5));
  if (dialog == nullptr) return nullptr;
  HANDLE update = BeginUpdateResourceA(path.c_str(), TRUE);
  if (update == nullptr) return nullptr;
  UpdateResourceA(update, MAKEINTRESOURCEA(5), "IDD_COPY", MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                  LockResource(LoadResource(own, dialog)), SizeofResource(own, dialog));
  for (const auto& [name, bytes] : data) {
    if (bytes.empty()) continue;
    UpdateResourceA(update, MAKEINTRESOURCEA(10), name.c_str(), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                    (void*)bytes.data(), (DWORD)bytes.size());
  }
  if (!EndUpdateResourceA(update, FALSE)) return nullptr;
  return LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
}

std::vector<std::pair<std::string, std::string>> PayloadResources(const std::vector<std::string>& compressed) {
  std::vector<std::pair<std::string, std::string>> data;
  for (int i = 0; i < kPayloadCount; ++i) data.push_back({"FILE" + std::to_string(i), compressed[i]});
  return data;
}

// ---------------------------------------------------------------------------
// Watching the page: its status line, its message boxes, and a Cancel
// pressed when a chosen entry's status appears.

enum CancelBy { kCancelButton, kEscapeKey };

struct Watch {
  HWND page = nullptr;
  std::vector<std::string> statuses;
  std::vector<std::string> boxTexts;
  std::vector<std::string> boxCaptions;
  std::vector<HWND> boxOwners;
  std::set<HWND> boxesSeen;
  int cancelAtEntry = -1;
  CancelBy cancelBy = kCancelButton;
  std::string temp, tempEntryAtLastFile;  // the temporary folder, and its one entry then
};
Watch watch;

bool IsCopyPage(HWND window) { return window && GetDlgItem(window, IDC_METER) && GetDlgItem(window, IDC_PATH); }

void PressCancel() {
  if (watch.cancelBy == kCancelButton) {
    PostMessageA(GetDlgItem(watch.page, IDCANCEL), BM_CLICK, 0, 0);
  } else {
    HWND target = GetFocus() ? GetFocus() : watch.page;
    PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  }
}

LRESULT CALLBACK WatchSends(int code, WPARAM wParam, LPARAM lParam) {
  const CWPSTRUCT* sent = (const CWPSTRUCT*)lParam;
  if (code == HC_ACTION && sent->message == WM_SETTEXT && GetDlgCtrlID(sent->hwnd) == IDC_PATH &&
      IsCopyPage(GetParent(sent->hwnd)) && sent->lParam) {
    watch.page = GetParent(sent->hwnd);
    watch.statuses.push_back((const char*)sent->lParam);
    int entry = (int)watch.statuses.size() - 1;
    if (entry == watch.cancelAtEntry) PressCancel();
    if (entry == kPayloadCount - 1) watch.tempEntryAtLastFile = OnlyEntry(watch.temp);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM lParam) {
  char text[2048] = "", cls[16] = "";
  GetClassNameA(child, cls, sizeof(cls));
  GetWindowTextA(child, text, sizeof(text));
  std::string* longest = (std::string*)lParam;
  if (lstrcmpiA(cls, "Static") == 0 && strlen(text) > longest->size()) *longest = text;
  return TRUE;
}

// Reads a message box as it comes up and answers it with OK.
LRESULT CALLBACK WatchBoxes(int code, WPARAM wParam, LPARAM lParam) {
  HWND box = (HWND)wParam;
  char cls[16] = "";
  if (code == HCBT_ACTIVATE && GetClassNameA(box, cls, sizeof(cls)) && strcmp(cls, "#32770") == 0 &&
      !IsCopyPage(box) && watch.boxesSeen.insert(box).second) {
    char caption[256] = "";
    GetWindowTextA(box, caption, sizeof(caption));
    std::string text;
    EnumChildWindows(box, CollectStaticText, (LPARAM)&text);
    watch.boxCaptions.push_back(caption);
    watch.boxTexts.push_back(text);
    watch.boxOwners.push_back(GetWindow(box, GW_OWNER));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

INT_PTR RunWatchedCopyPage() {
  DWORD thread = GetCurrentThreadId();
  HHOOK sends = SetWindowsHookExA(WH_CALLWNDPROC, WatchSends, nullptr, thread);
  HHOOK boxes = SetWindowsHookExA(WH_CBT, WatchBoxes, nullptr, thread);
  INT_PTR result = ShowCopyPage(nullptr);
  UnhookWindowsHookEx(boxes);
  UnhookWindowsHookEx(sends);
  return result;
}

// ---------------------------------------------------------------------------

class CopyPage : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    base_ = SystemTempPath() + "norvu-copy-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(base_.c_str(), nullptr);
    products_ = ProductFiles();
    compressed_ = Compressed(products_);
    std::vector<std::pair<std::string, std::string>> full = PayloadResources(compressed_);
    full.push_back({"PLAIN", "not compressed"});
    full_ = BuildModule(base_ + "\\full.exe", full);
    std::vector<std::pair<std::string, std::string>> without3 = PayloadResources(compressed_);
    without3[3].second.clear();
    missing3_ = BuildModule(base_ + "\\missing3.exe", without3);
  }

  static void TearDownTestSuite() {
    if (full_) FreeLibrary(full_);
    if (missing3_) FreeLibrary(missing3_);
    RemoveTree(base_);
  }

  void SetUp() override {
    ASSERT_NE(full_, nullptr) << "could not make the test payload module";
    ASSERT_NE(missing3_, nullptr);
    folder_ = base_ + "\\" + testing::UnitTest::GetInstance()->current_test_info()->name();
    CreateDirectoryA(folder_.c_str(), nullptr);
    UseTempFolder(folder_ + "\\tmp");
    UseInstallDir(folder_ + "\\Norvu");
    savedInstance_ = Instance;
    Instance = full_;
    watch = Watch();
    watch.temp = tmp_;
  }

  void TearDown() override {
    Instance = savedInstance_;
    SetEnvironmentVariableA("TMP", savedTmp_.empty() ? nullptr : savedTmp_.c_str());
    RemoveTree(folder_);
  }

  // The temporary folder that GetTempPathA reports from now on.
  void UseTempFolder(const std::string& folder) {
    char old[MAX_PATH] = "";
    if (!tmpSet_ && GetEnvironmentVariableA("TMP", old, sizeof(old))) savedTmp_ = old;
    tmpSet_ = true;
    CreateDirectoryA(folder.c_str(), nullptr);
    SetEnvironmentVariableA("TMP", folder.c_str());
    watch.temp = tmp_ = SystemTempPath();
  }

  // The installation folder, made as the destination page would make it.
  void UseInstallDir(const std::string& folder) {
    CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_LT(folder.size(), sizeof(InstallDir));
    strcpy(InstallDir, folder.c_str());
    dest_ = folder;
  }

  std::string Installed(int i) const { return ReadWhole(dest_ + PayloadTable.destination[i]); }

  void ExpectInstalledUpTo(int last) const {
    for (int i = 0; i < kPayloadCount; ++i) {
      if (i <= last) {
        EXPECT_EQ(Installed(i), products_[i]) << "entry " << i;
      } else {
        EXPECT_FALSE(Exists(dest_ + PayloadTable.destination[i])) << "entry " << i;
      }
    }
  }

  static std::string base_;
  static std::vector<std::string> products_, compressed_;
  static HMODULE full_, missing3_;
  std::string folder_, tmp_, dest_, savedTmp_;
  bool tmpSet_ = false;
  HINSTANCE savedInstance_ = nullptr;
};

std::string CopyPage::base_;
std::vector<std::string> CopyPage::products_, CopyPage::compressed_;
HMODULE CopyPage::full_, CopyPage::missing3_;

TEST_F(CopyPage, InstallsEveryFileOverwritingWhatIsThereAndLeavesNoTemporaryCopy) {
  CancelRequested = 1;  // left over from before: the run starts afresh
  WriteWhole(dest_ + "\\norvu.cfg", std::string(5000, 'x'));
  CreateDirectoryA((dest_ + "\\IsoData").c_str(), nullptr);
  // Another user's files under the compressed names, one read-only: never
  // written, expanded or deleted.
  const std::string planted = tmp_ + "norvu.ex_", lockedPlanted = tmp_ + "unsetu~1.ex_";
  WriteWhole(planted, compressed_[1]);
  WriteWhole(lockedPlanted, "not ours");
  SetFileAttributesA(lockedPlanted.c_str(), FILE_ATTRIBUTE_READONLY);
  // A hard link under a product file's name: replaced, not written through
  // into the file it shares its bytes with.
  const std::string linked = folder_ + "\\elsewhere.txt";
  WriteWhole(linked, "another's");
  ASSERT_TRUE(CreateHardLinkA((dest_ + "\\notice.wri").c_str(), linked.c_str(), nullptr));

  EXPECT_EQ(RunWatchedCopyPage(), 0);

  ExpectInstalledUpTo(6);
  DWORD iso = GetFileAttributesA((dest_ + "\\IsoData").c_str());
  ASSERT_NE(iso, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(iso & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_TRUE(FolderEntries(dest_ + "\\IsoData").empty());
  EXPECT_EQ(FolderEntries(dest_).size(), 8u);
  std::vector<std::string> left = FolderEntries(tmp_);
  EXPECT_EQ(std::set<std::string>(left.begin(), left.end()), (std::set<std::string>{"norvu.ex_", "unsetu~1.ex_"}));
  EXPECT_EQ(ReadWhole(planted), compressed_[1]);
  EXPECT_EQ(ReadWhole(lockedPlanted), "not ours");
  EXPECT_EQ(ReadWhole(linked), "another's");
  EXPECT_TRUE(watch.boxTexts.empty());
  EXPECT_EQ(CancelRequested, 0);

  ASSERT_EQ(watch.statuses.size(), 7u);
  EXPECT_EQ(watch.statuses[0], "FROM: norvu.ex_  TO: \\norvu.exe");
  EXPECT_EQ(watch.statuses[6], "FROM: unsetu~1.ex_  TO: \\unsetup.exe");
  for (int i = 0; i < kPayloadCount; ++i) {
    EXPECT_EQ(watch.statuses[i],
              std::string("FROM: ") + PayloadTable.compressed[i] + "  TO: " + PayloadTable.destination[i]);
  }
}

TEST_F(CopyPage, MissingResourceStopsWithTheTemporaryPathAndNoDestination) {
  Instance = missing3_;
  EXPECT_EQ(RunWatchedCopyPage(), 1);

  ASSERT_EQ(watch.boxTexts.size(), 1u);
  // The path it would have had in the run's own folder, removed since.
  const std::string head = "Unable to copy a file:\nFrom=" + tmp_ + "nvu", tail = ".tmp\\ferrox.dl_\nTo=\nProgram will exit";
  const std::string& text = watch.boxTexts[0];
  EXPECT_TRUE(text.size() > head.size() + tail.size() && text.rfind(head, 0) == 0 &&
              text.compare(text.size() - tail.size(), tail.size(), tail) == 0)
      << text;
  EXPECT_EQ(watch.boxCaptions[0], "Error");
  EXPECT_EQ(watch.boxOwners[0], watch.page);
  EXPECT_EQ(watch.statuses.size(), 4u);  // no later file is tried
  ExpectInstalledUpTo(2);
  EXPECT_TRUE(FolderEntries(tmp_).empty());

  // No folder of its own can be made (the temporary folder is gone): the
  // first file fails, naming that folder, and nothing is written elsewhere.
  watch = Watch();
  Instance = full_;
  SetEnvironmentVariableA("TMP", (folder_ + "\\gone").c_str());
  EXPECT_EQ(RunWatchedCopyPage(), 1);
  ASSERT_EQ(watch.boxTexts.size(), 1u);
  EXPECT_EQ(watch.boxTexts[0], "Unable to copy a file:\nFrom=" + folder_ + "\\gone\\\nTo=\nProgram will exit");
  EXPECT_EQ(watch.statuses.size(), 1u);
  EXPECT_FALSE(Exists(PayloadTable.compressed[0]));  // not in the current folder either
}

// File 3's destination cannot be made: the message shows both paths, the
// temporary copy stays for the user, the files before it stay installed.
void ExpectStopAtFerrox(const std::string& tmp, const std::string& dest,
                        const std::vector<std::string>& products, const std::vector<std::string>& compressed) {
  std::string ferrox = dest + "\\ferrox.dll";
  EXPECT_EQ(RunWatchedCopyPage(), 1);
  // Kept in the run's own folder, the only thing left in the temporary one.
  const std::string own = OnlyEntry(tmp), kept = tmp + own + "\\ferrox.dl_";
  EXPECT_EQ(own.rfind("nvu", 0), 0u) << own;
  EXPECT_EQ(OnlyEntry(tmp + own), "ferrox.dl_");
  ASSERT_EQ(watch.boxTexts.size(), 1u);
  EXPECT_EQ(watch.boxTexts[0], "Unable to copy a file:\nFrom=" + kept + "\nTo=" + ferrox + "\nProgram will exit");
  EXPECT_EQ(watch.boxCaptions[0], "Error");
  EXPECT_EQ(watch.boxOwners[0], watch.page);
  EXPECT_EQ(ReadWhole(kept), compressed[3]);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(ReadWhole(dest + PayloadTable.destination[i]), products[i]);
  for (int i = 4; i < kPayloadCount; ++i) EXPECT_FALSE(Exists(dest + PayloadTable.destination[i]));
}

TEST_F(CopyPage, ReadOnlyDestinationShowsBothPathsAndKeepsTheTemporaryCopy) {
  std::string locked = dest_ + "\\ferrox.dll";
  WriteWhole(locked, "older");
  SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);
  HANDLE probe = CreateFileA(locked.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (probe != INVALID_HANDLE_VALUE) {
    CloseHandle(probe);
    GTEST_SKIP() << "read-only files are writable here (Wine run as root)";
  }
  ExpectStopAtFerrox(tmp_, dest_, products_, compressed_);
  EXPECT_EQ(ReadWhole(locked), "older");
}

TEST_F(CopyPage, DestinationInUseShowsBothPathsAndKeepsTheTemporaryCopy) {
  std::string locked = dest_ + "\\ferrox.dll";
  WriteWhole(locked, "older");
  HANDLE held = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  ExpectStopAtFerrox(tmp_, dest_, products_, compressed_);
  CloseHandle(held);
  EXPECT_EQ(ReadWhole(locked), "older");
}

TEST_F(CopyPage, CancelButtonStopsAfterTheFileInHand) {
  watch.cancelAtEntry = 2;
  watch.cancelBy = kCancelButton;
  EXPECT_EQ(RunWatchedCopyPage(), 1);
  ExpectInstalledUpTo(2);
  EXPECT_EQ(watch.statuses.size(), 3u);
  EXPECT_TRUE(FolderEntries(tmp_).empty());  // the temporary copy of file 2 is gone too
  EXPECT_TRUE(watch.boxTexts.empty());       // no question, no message
}

TEST_F(CopyPage, EscapeKeyCancelsLikeTheButton) {
  watch.cancelAtEntry = 5;
  watch.cancelBy = kEscapeKey;
  EXPECT_EQ(RunWatchedCopyPage(), 1);
  ExpectInstalledUpTo(5);
  EXPECT_TRUE(FolderEntries(tmp_).empty());
}

// The platform's open record holds 127 characters of path; these are longer.
TEST_F(CopyPage, PathsLongerThanTheOpenRecordInstall) {
  UseTempFolder(folder_ + "\\" + std::string(140, 't'));
  UseInstallDir(folder_ + "\\" + std::string(150, 'n'));
  ASSERT_GT(tmp_.size(), 140u);

  EXPECT_EQ(RunWatchedCopyPage(), 0);
  EXPECT_TRUE(watch.boxTexts.empty());
  ExpectInstalledUpTo(6);
  EXPECT_TRUE(Exists(dest_ + "\\IsoData"));
  // The last file went through a folder of the run's own there, which is
  // gone with its copies.
  EXPECT_EQ(watch.tempEntryAtLastFile.rfind("nvu", 0), 0u) << watch.tempEntryAtLastFile;
  EXPECT_EQ(TempFile, tmp_ + watch.tempEntryAtLastFile + "\\unsetu~1.ex_");
  EXPECT_TRUE(FolderEntries(tmp_).empty());
}

// IsoData holds its users' own data: they may create, change and delete in
// it, by an entry of its own added to what it takes from the folder above.
TEST_F(CopyPage, IsoDataIsMadeForItsUsersToChange) {
  EXPECT_EQ(RunWatchedCopyPage(), 0);
  EXPECT_FALSE(EveryoneHasAnEntry(dest_ + "\\IsoData"));
  PSECURITY_DESCRIPTOR rights = RightsFromText(kSubdirRights);
  ExpectRights(rights, false,
               {{WellKnownSid(WinBuiltinUsersSid), FILE_GENERIC_READ | FILE_GENERIC_WRITE | FILE_GENERIC_EXECUTE | DELETE}});
  LocalFree(rights);
}

// Beyond the system's path limit the file fails; the message leaves out the
// temporary path so that the destination still fits.
TEST_F(CopyPage, PathsBeyondTheSystemLimitFailWithTheMessage) {
  size_t fixed = 50;  // the message without its two paths
  std::string from = tmp_ + "nvu0.tmp\\norvu.ex_";  // the shortest the run's own folder makes it
  std::string longDir = folder_ + "\\" + std::string(MAX_PATH, 'n');
  longDir += std::string(512 - fixed - from.size() - longDir.size() - strlen("\\norvu.exe"), 'n');
  ASSERT_LT(longDir.size(), sizeof(InstallDir));
  strcpy(InstallDir, longDir.c_str());

  EXPECT_EQ(RunWatchedCopyPage(), 1);
  ASSERT_EQ(watch.boxTexts.size(), 1u);
  EXPECT_EQ(watch.boxTexts[0], "Unable to copy a file:\nFrom=\nTo=" + longDir + "\\norvu.exe\nProgram will exit");
  EXPECT_EQ(ReadWhole(tmp_ + OnlyEntry(tmp_) + "\\norvu.ex_"), compressed_[0]);
}

// ---------------------------------------------------------------------------
// The two file steps on their own.

// A new file only, which nobody else can open while setup holds it.
TEST_F(CopyPage, WritingMakesANewFileOfItsOwnOrNothing) {
  std::string path = tmp_ + "absent.ex_";
  EXPECT_EQ(WriteCompressedFile(full_, "FILE9", path.c_str()), INVALID_HANDLE_VALUE);
  EXPECT_FALSE(Exists(path));
  HANDLE written = WriteCompressedFile(full_, "FILE1", path.c_str());
  ASSERT_NE(written, INVALID_HANDLE_VALUE);
  // Nobody may read it, rewrite it or delete it between its write and its
  // expansion.
  for (DWORD access : {(DWORD)GENERIC_READ, (DWORD)GENERIC_WRITE, (DWORD)DELETE}) {
    HANDLE probe = CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(probe, INVALID_HANDLE_VALUE) << "opened for " << std::hex << access;
    if (probe != INVALID_HANDLE_VALUE) CloseHandle(probe);
  }
  CloseHandle(written);
  EXPECT_EQ(ReadWhole(path), compressed_[1]);
  EXPECT_EQ(WriteCompressedFile(full_, "FILE2", path.c_str()), INVALID_HANDLE_VALUE);
  EXPECT_EQ(ReadWhole(path), compressed_[1]);
}

// A file without the compress header is copied as it is. (That the copy is
// closed after its expansion: the cases above find no copy left.)
TEST_F(CopyPage, PlainFilesPassThroughTheExpansion) {
  const std::string out = dest_ + "\\out.bin";
  EXPECT_TRUE(ExpandFile(WriteCompressedFile(full_, "PLAIN", (tmp_ + "plain.tx_").c_str()), out.c_str()));
  EXPECT_EQ(ReadWhole(out), "not compressed");
}

// The folder for the copies is always one that did not exist: a folder or
// a file of another's under its name is passed over, and left as it was.
TEST_F(CopyPage, ThePrivateFolderIsAlwaysANewOne) {
  CreateDirectoryA((tmp_ + "nvu7.tmp").c_str(), nullptr);
  WriteWhole(tmp_ + "nvu7.tmp\\unsetup.exe", "another's");
  WriteWhole(tmp_ + "nvu8.tmp", "another's");
  char folder[MAX_PATH];
  ASSERT_TRUE(MakePrivateFolder(folder, sizeof(folder), tmp_.c_str(), 7));
  EXPECT_EQ(folder, tmp_ + "nvu9.tmp");
  EXPECT_TRUE(FolderEntries(folder).empty());
  // Made with a list of its own: SYSTEM, Administrators and the user.
  EXPECT_FALSE(EveryoneHasAnEntry(folder));
  PSECURITY_DESCRIPTOR rights = MakePrivateFolderRights();
  ExpectRights(rights, true,
               {{WellKnownSid(WinLocalSystemSid), FILE_ALL_ACCESS},
                {WellKnownSid(WinBuiltinAdministratorsSid), FILE_ALL_ACCESS},
                {ProcessUser(), FILE_ALL_ACCESS}});
  LocalFree(rights);
  EXPECT_EQ(ReadWhole(tmp_ + "nvu7.tmp\\unsetup.exe"), "another's");
  EXPECT_EQ(ReadWhole(tmp_ + "nvu8.tmp"), "another's");
  EXPECT_FALSE(MakePrivateFolder(folder, sizeof(folder), (tmp_ + "missing").c_str(), 7));
  EXPECT_STREQ(folder, "");
}

// A temporary copy cut short by a full drive must fail its file: LZ32 would
// expand the cut-off copy without complaint.
TEST_F(CopyPage, ShortWriteOfTheTemporaryCopyFails) {
  if (GetDriveTypeA("S:\\") == DRIVE_NO_ROOT_DIR) GTEST_SKIP() << "no small drive S: in this session";
  std::string big = SzddCompress(Noise(1536 * 1024, 9), 'x');
  std::string path = base_ + "\\big.exe";
  HMODULE module = BuildModule(path, {{"BIG", big}});
  ASSERT_NE(module, nullptr);
  std::string target = "S:\\norvu-copy-test.ex_";
  EXPECT_EQ(WriteCompressedFile(module, "BIG", target.c_str()), INVALID_HANDLE_VALUE);
  DeleteFileA(target.c_str());
  FreeLibrary(module);
  DeleteFileA(path.c_str());
}

// ---------------------------------------------------------------------------
// The installer's own payload, linked into this program with its resources.

TEST_F(CopyPage, RealPayloadExpandsToWhatItsResourcesHold) {
  HMODULE own = GetModuleHandleA(nullptr);
  ASSERT_NE(FindResourceA(own, "FILE0", MAKEINTRESOURCEA(10)), nullptr) << "no payload in this build";
  Instance = own;
  EXPECT_EQ(RunWatchedCopyPage(), 0);
  EXPECT_TRUE(watch.boxTexts.empty());
  for (int i = 0; i < kPayloadCount; ++i) {
    std::string name = "FILE" + std::to_string(i);
    HRSRC found = FindResourceA(own, name.c_str(), MAKEINTRESOURCEA(10));
    ASSERT_NE(found, nullptr) << name;
    std::string compressed((const char*)LockResource(LoadResource(own, found)), SizeofResource(own, found));
    // The header names the character the compressed name replaced.
    EXPECT_EQ(compressed[9], LastLetter(PayloadTable.destination[i])) << name;
    std::vector<uint8_t> expanded;
    ASSERT_EQ(szdd::Expand((const uint8_t*)compressed.data(), compressed.size(), &expanded), szdd::Status::Ok) << name;
    EXPECT_TRUE(Installed(i) == std::string(expanded.begin(), expanded.end())) << name << " differs from its expansion";
  }
  EXPECT_TRUE(FolderEntries(tmp_).empty());
}

}  // namespace
