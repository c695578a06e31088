// The destination page and the Browse dialog, driven with the real mouse
// and keyboard: drive choice in the combo box, folder walking by double-
// clicks in the list view, the name field, and the free-space refusal on a
// real small drive.
#include <windows.h>

#include <string>

#include "setup_run.h"

namespace {

const char kBrowseCaption[] = "Setup - directory";
const char kTree[] = "D:\\walk";

class Destination : public SetupRun {
 protected:
  void SetUp() override {
    RemoveTree(kTree);
    CreateDirectoryA(kTree, nullptr);
    CreateDirectoryA((std::string(kTree) + "\\Apps").c_str(), nullptr);
    CreateDirectoryA((std::string(kTree) + "\\Games").c_str(), nullptr);
    CreateDirectoryA((std::string(kTree) + "\\.cache").c_str(), nullptr);
    HWND agreement = StartAtAgreement();
    ui::PressKey(agreement, VK_RETURN);
    page = WaitPage(IDC_BROWSE, agreement);
  }
  void TearDown() override {
    SetupRun::TearDown();
    RemoveTree(kTree);
  }

  HWND OpenBrowse() {
    ui::Click(ui::Control(page, IDC_BROWSE));
    return ui::WaitWindow(ui::WindowQuery().Class("#32770").Caption(kBrowseCaption).OfProcess(setup));
  }

  // Escape on the page, Yes: the cancel text, then the end with exit code 0.
  void CancelSetup() {
    ui::PressKey(page, VK_ESCAPE);
    ui::MessageBoxView question = WaitMessage();
    EXPECT_EQ(question.text, kConfirmCancel);
    ui::Answer(question, IDYES);
    ui::MessageBoxView end = WaitMessage();
    EXPECT_EQ(end.text, kCancelText);
    ui::Answer(end, IDOK);
    EXPECT_EQ(WaitSetupExit(), 0u);
  }

  HWND page = nullptr;
};

TEST_F(Destination, DriveAndFoldersChosenWithTheMouseLandInThePath) {
  EXPECT_EQ(ui::ControlText(page, IDC_PATH), "C:\\Program files\\Norvu");
  HWND browse = OpenBrowse();
  HWND list = ui::Control(browse, IDC_FOLDER_LIST);

  ui::SelectComboText(ui::Control(browse, IDC_DRIVES), "D:\\");
  ui::WaitUntil([&] { return ui::ControlText(browse, IDC_BROWSE_LABEL) == "D:\\Norvu"; }, "the label of drive D");
  ui::DoubleClickListText(list, "walk");
  ui::WaitUntil([&] { return ui::ControlText(browse, IDC_BROWSE_LABEL) == "D:\\walk\\Norvu"; }, "the label of D:\\walk");
  EXPECT_EQ(ui::ListRows(list), (std::vector<std::string>{"........", "Apps", "Games", "Norvu"}));

  ui::DoubleClickListText(list, "Apps");
  ui::WaitUntil([&] { return ui::ControlText(browse, IDC_BROWSE_LABEL) == "D:\\walk\\Apps\\Norvu"; }, "Apps entered");
  ui::DoubleClickListText(list, "........");
  ui::WaitUntil([&] { return ui::ControlText(browse, IDC_BROWSE_LABEL) == "D:\\walk\\Norvu"; }, "back up to walk");
  ui::DoubleClickListText(list, "Games");
  ui::WaitUntil([&] { return ui::ControlText(browse, IDC_BROWSE_LABEL) == "D:\\walk\\Games\\Norvu"; }, "Games entered");

  ui::PressKey(browse, VK_RETURN);  // OK
  ui::WaitGone(browse, "the Browse dialog");
  ui::WaitUntil([&] { return ui::ControlText(page, IDC_PATH) == "D:\\walk\\Games\\Norvu"; }, "the new path on the page");

  ui::PressKey(page, VK_RETURN);  // Next: the folder is made and the copy runs
  HWND group = ui::WaitWindow(
      ui::WindowQuery().Class("#32770").OfProcess(setup).WithControlText(IDOK, "Finish").NoMessageBox(), 60000);
  EXPECT_TRUE(PathExists("D:\\walk\\Games\\Norvu\\norvu.exe"));
  EXPECT_TRUE(PathExists("D:\\walk\\Games\\Norvu\\IsoData"));
  ui::PressKey(group, VK_ESCAPE);
  ui::MessageBoxView question = WaitMessage();
  EXPECT_EQ(question.text, "Cancel creating the shortcuts?");
  ui::Answer(question, IDYES);
  ui::MessageBoxView done = WaitMessage();
  EXPECT_EQ(done.text, "Norvu was successfully installed");
  ui::Answer(done, IDOK);
  EXPECT_EQ(WaitSetupExit(), 0u);
}

TEST_F(Destination, EmptyNameWarnsAndAHundredthTypedCharacterIsPutBack) {
  HWND browse = OpenBrowse();
  HWND name = ui::Control(browse, IDC_FOLDER_NAME);
  ui::Click(name);
  ui::PressKey(browse, VK_END);
  for (int i = 0; i < 5; ++i) ui::PressKey(browse, VK_BACK);  // "Norvu" erased
  // OK on the empty name warns; the focus is back in the name field after.
  ui::WaitUntil([&] { return ui::Text(name).empty(); }, "an empty name");
  ui::Click(ui::Control(browse, IDOK));
  ui::MessageBoxView warning = WaitMessage();
  EXPECT_EQ(warning.icon, ui::Icon::Warning);
  ui::Answer(warning, IDOK);
  ui::TypeText(browse, std::string(99, 'n'));
  ui::WaitUntil([&] { return ui::Text(name).size() == 99; }, "a 99-character name");
  ui::TypeText(browse, "x");
  ui::Pause(300);
  EXPECT_EQ(ui::Text(name), std::string(99, 'n'));
  ui::PressKey(browse, VK_ESCAPE);  // Cancel keeps the accepted name
  ui::WaitGone(browse, "the Browse dialog");
  ui::WaitUntil([&] { return ui::ControlText(page, IDC_PATH) == "C:\\Program files\\" + std::string(99, 'n'); },
                "the 99-character name on the page");
  CancelSetup();
}

TEST_F(Destination, SmallDriveIsRefusedInTheDialogAndOnThePage) {
  if (GetDriveTypeA("S:\\") == DRIVE_NO_ROOT_DIR) GTEST_SKIP() << "no small drive S: (mount not allowed here)";
  HWND browse = OpenBrowse();
  ui::SelectComboText(ui::Control(browse, IDC_DRIVES), "S:\\");
  ui::WaitUntil([&] { return ui::ControlText(browse, IDC_BROWSE_LABEL) == "S:\\Norvu"; }, "drive S chosen");
  std::string label = ui::ControlText(browse, IDC_FREE_SPACE);
  EXPECT_EQ(label.find(" Available: "), 0u) << label;
  EXPECT_LT(atoi(label.c_str() + 12), 1400) << label;

  ui::PressKey(browse, VK_RETURN);  // OK refuses
  ui::MessageBoxView refusal = WaitMessage();
  EXPECT_EQ(refusal.text, kNotEnoughSpace);
  EXPECT_EQ(refusal.icon, ui::Icon::Error);
  ui::Answer(refusal, IDNO);
  ui::PressKey(browse, VK_ESCAPE);  // Cancel keeps drive S
  ui::WaitGone(browse, "the Browse dialog");
  ui::WaitUntil([&] { return ui::ControlText(page, IDC_PATH) == "S:\\Norvu"; }, "S:\\Norvu on the page");

  ui::PressKey(page, VK_RETURN);  // Next refuses as well
  ui::MessageBoxView again = WaitMessage();
  EXPECT_EQ(again.text, kNotEnoughSpace);
  EXPECT_EQ(again.caption, kSetupCaption);
  ui::Answer(again, IDYES);
  CancelSetup();
  EXPECT_FALSE(PathExists("S:\\Norvu"));
}

}  // namespace
