// Shortcut files made through the shell-link object, read back through it.
#include <windows.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <string>

#include "group/shell_link.h"

namespace {

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

struct LoadedLink {
  HRESULT loaded = E_FAIL;
  std::string target, description;
};

LoadedLink LoadLink(const std::string& linkPath) {
  LoadedLink result;
  IShellLinkA* link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void**)&link))) {
    return result;
  }
  IPersistFile* file;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void**)&file))) {
    WCHAR wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, MAX_PATH);
    result.loaded = file->Load(wide, STGM_READ);
    char text[MAX_PATH] = "";
    link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
    result.target = text;
    text[0] = '\0';
    link->GetDescription(text, MAX_PATH);
    result.description = text;
    file->Release();
  }
  link->Release();
  return result;
}

class ShellLink : public testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    dir = std::string(temp) + "NorvuLinks" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir.c_str(), nullptr);
    for (const char* name : {"\\Norvu.exe", "\\unsetup.exe", "\\notice.wri"}) {
      HANDLE f = CreateFileA((dir + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
      CloseHandle(f);
    }
  }
  void TearDown() override {
    for (const char* name : {"\\Norvu.exe", "\\unsetup.exe", "\\notice.wri", "\\Norvu.lnk", "\\Uninstall.lnk",
                             "\\Readme.lnk", "\\after.lnk"}) {
      DeleteFileA((dir + name).c_str());
    }
    RemoveDirectoryA(dir.c_str());
  }
  std::string dir;
};

TEST_F(ShellLink, ThreeInARowEachSaveAndLoadBackWithTargetAndDescription) {
  struct { const char *link, *target, *description; } rows[] = {
      {"\\Norvu.lnk", "\\Norvu.exe", "Norvu"},
      {"\\Uninstall.lnk", "\\unsetup.exe", "Uninstall"},
      {"\\Readme.lnk", "\\notice.wri", "Readme"},
  };
  for (auto& row : rows) {
    HRESULT result = CreateShellLink((dir + row.target).c_str(), (dir + row.link).c_str(), row.description);
    EXPECT_TRUE(SUCCEEDED(result)) << row.link << " " << std::hex << result;
    // Each call leaves COM as it found it: this thread is not initialised.
    HRESULT init = CoInitialize(nullptr);
    EXPECT_EQ(init, S_OK) << "COM was left initialised by " << row.link;
    CoUninitialize();
  }
  CoInitialize(nullptr);
  for (auto& row : rows) {
    LoadedLink loaded = LoadLink(dir + row.link);
    EXPECT_EQ(loaded.loaded, S_OK) << row.link;
    EXPECT_STREQ(loaded.target.c_str(), (dir + row.target).c_str());
    EXPECT_EQ(loaded.description, row.description);
  }
  CoUninitialize();
}

TEST_F(ShellLink, WorksInsideAnApartmentTheCallerAlreadyOpened) {
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
  EXPECT_TRUE(SUCCEEDED(CreateShellLink((dir + "\\Norvu.exe").c_str(), (dir + "\\Norvu.lnk").c_str(), "Norvu")));
  // The caller's own initialisation still stands after the call.
  IShellLinkA* link = nullptr;
  EXPECT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void**)&link), S_OK);
  if (link) link->Release();
  CoUninitialize();
}

TEST_F(ShellLink, MissingFolderWritesNothingFailsAndTheNextCallStillWorks) {
  std::string missing = dir + "\\missing\\Norvu.lnk";
  HRESULT result = CreateShellLink((dir + "\\Norvu.exe").c_str(), missing.c_str(), "Norvu");
  EXPECT_TRUE(FAILED(result)) << std::hex << result;
  EXPECT_FALSE(FileExists(missing));
  EXPECT_FALSE(FileExists(dir + "\\missing"));
  EXPECT_TRUE(SUCCEEDED(CreateShellLink((dir + "\\notice.wri").c_str(), (dir + "\\after.lnk").c_str(), "Readme")));
  EXPECT_TRUE(FileExists(dir + "\\after.lnk"));
}

TEST_F(ShellLink, NameLongerThanAPathIsRefusedNotCut) {
  // 300 characters do not fit the 260-character name buffer; a cut name
  // would be a file in dir whose name starts with the run of 'n's.
  std::string longName = dir + "\\" + std::string(300 - dir.size(), 'n') + ".lnk";
  HRESULT result = CreateShellLink((dir + "\\Norvu.exe").c_str(), longName.c_str(), "Norvu");
  EXPECT_TRUE(FAILED(result));
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((dir + "\\nnn*").c_str(), &found);
  EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "saved as " << found.cFileName;
  if (search != INVALID_HANDLE_VALUE) {
    DeleteFileA((dir + "\\" + found.cFileName).c_str());
    FindClose(search);
  }
}

}  // namespace
