// norvu.exe and the embedded payload under Wine: the program run from
// prepared folders with /report, and setup.exe's resources FILE0 to FILE6
// expanded by the system's LZ library back into the build's payload files.
#include <windows.h>
#include <lzexpand.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/run_cases.h"

namespace {

std::string PayloadDir;    // the build's seven product files
std::string GeneratedDir;  // their compressed forms

const char* const kInstalledNames[] = {"norvu.exe",    "norvu.cfg",  "nvuhelp.hlp", "ferrox.dll",
                                       "nvustart.kbm", "notice.wri", "unsetup.exe"};
const char* const kCompressedNames[] = {"norvu.ex_",    "norvu.cf_",  "nvuhelp.hl_", "ferrox.dl_",
                                        "nvustart.kb_", "notice.wr_", "unsetu~1.ex_"};

std::string Join(const std::string& folder, const std::string& name) { return folder + "\\" + name; }

std::vector<char> ReadAll(const std::string& path) {
  std::vector<char> bytes;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  bytes.resize(GetFileSize(file, nullptr));
  DWORD read = 0;
  if (!bytes.empty() && (!ReadFile(file, bytes.data(), (DWORD)bytes.size(), &read, nullptr) || read != bytes.size())) {
    bytes.clear();
  }
  CloseHandle(file);
  return bytes;
}

bool WriteAll(const std::string& path, const void* bytes, DWORD size) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes, size, &written, nullptr) && written == size;
  CloseHandle(file);
  return ok;
}

// A fresh folder under the temporary directory, removed with what it holds.
class Folder {
 public:
  Folder() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    static int serial;
    path_ = std::string(temp) + "norvu-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~Folder() { Remove(path_); }
  const std::string& Path() const { return path_; }
  void CopyIn(const char* name, const char* as = nullptr) {
    ASSERT_TRUE(CopyFileA(Join(PayloadDir, name).c_str(), Join(path_, as ? as : name).c_str(), FALSE)) << name;
  }
  void CopyAll() {
    for (const char* name : kInstalledNames) CopyIn(name);
    ASSERT_TRUE(CreateDirectoryA(Join(path_, "IsoData").c_str(), nullptr));
  }

 private:
  static void Remove(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(Join(folder, "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          Remove(Join(folder, name));
        } else {
          DeleteFileA(Join(folder, name).c_str());
        }
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
  }
  std::string path_;
};

struct ReportRun {
  DWORD exitCode;
  std::string output;
};

// Runs the folder's norvu.exe with /report, its output read through a pipe.
ReportRun RunReport(const Folder& folder) {
  ReportRun run = {~0u, ""};
  SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
  HANDLE readEnd, writeEnd;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return run;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  PROCESS_INFORMATION process = {};
  std::string program = Join(folder.Path(), "norvu.exe");
  std::string commandLine = "\"" + program + "\" /report";
  const BOOL started = CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                                      nullptr, &startup, &process);
  CloseHandle(writeEnd);
  if (started) {
    char chunk[512];
    DWORD got;
    while (ReadFile(readEnd, chunk, sizeof(chunk), &got, nullptr) && got > 0) run.output.append(chunk, got);
    WaitForSingleObject(process.hProcess, 60000);
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
  CloseHandle(readEnd);
  return run;
}

bool Has(const ReportRun& run, const std::string& line) { return run.output.find(line + "\r\n") != std::string::npos; }

TEST(NorvuProgram, FindsEverythingInAFullyInstalledFolder) {
  Folder folder;
  folder.CopyAll();
  const ReportRun run = RunReport(folder);
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_TRUE(Has(run, "Norvu 1.0")) << run.output;
  EXPECT_TRUE(Has(run, "Folder: " + folder.Path())) << run.output;
  EXPECT_TRUE(Has(run, "Library: ferrox.dll, Ferrox engine 1.0")) << run.output;
  EXPECT_TRUE(Has(run, "Help file: nvuhelp.hlp")) << run.output;
  EXPECT_TRUE(Has(run, "Data folder: IsoData")) << run.output;
  EXPECT_TRUE(Has(run, "Norvu has everything it needs.")) << run.output;
}

TEST(NorvuProgram, AloneItNamesTheMissingLibraryAndSettings) {
  Folder folder;
  folder.CopyIn("norvu.exe");
  const ReportRun run = RunReport(folder);
  EXPECT_EQ(run.exitCode, 3u) << run.output;
  EXPECT_TRUE(Has(run, "Library: ferrox.dll is missing from " + folder.Path())) << run.output;
  EXPECT_NE(run.output.find("Settings: norvu.cfg is missing from " + folder.Path()), std::string::npos)
      << run.output;
}

TEST(NorvuProgram, NamesEachFileThatTheSettingsNameButTheFolderLacks) {
  Folder folder;
  folder.CopyIn("norvu.exe");
  folder.CopyIn("ferrox.dll");
  folder.CopyIn("norvu.cfg");
  folder.CopyIn("notice.wri");
  const ReportRun run = RunReport(folder);
  EXPECT_EQ(run.exitCode, 4u) << run.output;
  EXPECT_TRUE(Has(run, "Help file: nvuhelp.hlp is missing")) << run.output;
  EXPECT_TRUE(Has(run, "Readme: notice.wri")) << run.output;
  EXPECT_TRUE(Has(run, "Data folder: IsoData is missing")) << run.output;
}

// A ferrox.dll that is some other module, or no module at all.
TEST(NorvuProgram, TellsAWrongLibraryFromAMissingOne) {
  Folder withoutEntry;
  withoutEntry.CopyAll();
  withoutEntry.CopyIn("unsetup.exe", "ferrox.dll");
  ReportRun run = RunReport(withoutEntry);
  EXPECT_EQ(run.exitCode, 1u) << run.output;
  EXPECT_TRUE(Has(run, "Library: ferrox.dll has no FerroxVersion entry")) << run.output;

  Folder damaged;
  damaged.CopyAll();
  damaged.CopyIn("norvu.cfg", "ferrox.dll");
  run = RunReport(damaged);
  EXPECT_EQ(run.exitCode, 1u) << run.output;
  EXPECT_TRUE(Has(run, "Library: ferrox.dll is there but cannot be loaded")) << run.output;
}

// Each resource holds exactly the compressed file, and the system's LZ
// library expands it to the very file the build made.
TEST(EmbeddedPayload, EveryResourceExpandsToItsProductFile) {
  Folder folder;
  for (int i = 0; i < 7; ++i) {
    const std::string resourceName = "FILE" + std::to_string(i);
    HRSRC resource = FindResourceA(nullptr, resourceName.c_str(), MAKEINTRESOURCEA(10));
    ASSERT_NE(resource, nullptr) << resourceName << " is not among the resources";
    const DWORD size = SizeofResource(nullptr, resource);
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(nullptr, resource)));
    ASSERT_NE(bytes, nullptr) << resourceName;
    EXPECT_TRUE(std::vector<char>(bytes, bytes + size) == ReadAll(Join(GeneratedDir, kCompressedNames[i])))
        << resourceName << " is not " << kCompressedNames[i];

    const std::string packed = Join(folder.Path(), kCompressedNames[i]);
    const std::string expanded = Join(folder.Path(), kInstalledNames[i]);
    ASSERT_TRUE(WriteAll(packed, bytes, size));
    OFSTRUCT packedInfo, expandedInfo;
    INT source = LZOpenFileA(const_cast<char*>(packed.c_str()), &packedInfo, OF_READ);
    INT target = LZOpenFileA(const_cast<char*>(expanded.c_str()), &expandedInfo, OF_CREATE);
    ASSERT_GE(source, 0) << resourceName;
    ASSERT_GE(target, 0) << resourceName;
    const LONG copied = LZCopy(source, target);
    LZClose(source);
    LZClose(target);
    const std::vector<char> original = ReadAll(Join(PayloadDir, kInstalledNames[i]));
    EXPECT_EQ(copied, (LONG)original.size()) << resourceName;
    EXPECT_TRUE(ReadAll(expanded) == original) << resourceName << " does not expand to " << kInstalledNames[i];
  }
  EXPECT_EQ(FindResourceA(nullptr, "FILE7", MAKEINTRESOURCEA(10)), nullptr);
}

std::string WindowsPath(std::string path) {
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

}  // namespace

// payload_windows_tests PAYLOAD_DIR GENERATED_DIR
int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc != 3) {
    fprintf(stderr, "usage: payload_windows_tests PAYLOAD_DIR GENERATED_DIR\n");
    return 2;
  }
  PayloadDir = WindowsPath(argv[1]);
  GeneratedDir = WindowsPath(argv[2]);
  // A damaged library must not raise the system's error box in the child.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  return RunCasesForCTest();
}
