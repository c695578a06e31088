// The driver against a dialog made for it: what the driver does must reach
// the dialog as a user's input does, and what it reads must be what is shown.
#include <gtest/gtest.h>

#include "driver/fixture/driver_fixture.h"
#include "driver/ui_driver.h"

namespace {

std::string FixturePath() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s = path;
  return s.substr(0, s.find_last_of('\\') + 1) + "driver_fixture.exe";
}

class Driver : public testing::Test {
 protected:
  void SetUp() override {
    fixture = ui::Process::Start(FixturePath());
    dialog = ui::WaitWindow(ui::WindowQuery().Caption("Driver fixture").OfProcess(fixture));
  }
  void TearDown() override {
    // What the screen showed when a case failed, for whoever reads the log.
    if (HasFailure()) {
      std::string file = std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + ".bmp";
      ui::SaveBmp(ui::CaptureScreen(), file);
      printf("screen at failure: %s\n", file.c_str());
    }
  }
  // The fixture's log, once it ends with event.
  std::string LogAfter(const std::string& event) {
    std::string log;
    ui::WaitUntil(
        [&] {
          log = ui::ControlText(dialog, IDC_FIX_LOG);
          return log.size() >= event.size() && log.compare(log.size() - event.size(), event.size(), event) == 0;
        },
        "the fixture to log \"" + event + "\"", 5000);
    return log;
  }
  ui::Process fixture;
  HWND dialog = nullptr;
};

TEST_F(Driver, EnterAndEscapeGoThroughTheDialogManager) {
  // Focus in the edit field: only the dialog manager turns Enter into the
  // default button's command and Escape into IDCANCEL.
  HWND edit = ui::Control(dialog, IDC_FIX_EDIT);
  ui::Click(edit);
  ui::WaitUntil([&] { return ui::FocusedControl(dialog) == edit; }, "the click to focus the edit field", 5000);
  ui::PressKey(dialog, VK_RETURN);
  LogAfter("ok");
  ui::PressKey(dialog, VK_ESCAPE);
  EXPECT_EQ(LogAfter("cancel"), "ok cancel");
}

TEST_F(Driver, TypedTextArrivesInTheFocusedField) {
  ui::Click(ui::Control(dialog, IDC_FIX_EDIT));
  ui::TypeText(dialog, "C:\\Program files_1");
  ui::WaitUntil([&] { return ui::ControlText(dialog, IDC_FIX_EDIT) == "C:\\Program files_1"; },
                "the typed text in the edit field", 5000);
}

TEST_F(Driver, MessageBoxIsReadAndAnswered) {
  ui::PressButton(dialog, IDC_FIX_ASK);
  ui::MessageBoxView box = ui::WaitMessageBox(fixture.Id());
  EXPECT_EQ(box.caption, "Fixture question");
  EXPECT_EQ(box.text, "Go on?");
  EXPECT_EQ(box.icon, ui::Icon::Warning);
  EXPECT_TRUE(ui::IsMessageBox(box.window));
  EXPECT_FALSE(ui::IsMessageBox(dialog)) << "a dialog with an edit field is no message box";
  ui::Answer(box, IDNO);
  LogAfter("no");
  ui::PressButton(dialog, IDC_FIX_ASK);
  ui::Answer(ui::WaitMessageBox(fixture.Id()), IDYES);
  EXPECT_EQ(LogAfter("yes"), "no yes");
}

TEST_F(Driver, ComboItemIsPickedWithTheControlsOwnNotification) {
  HWND combo = ui::Control(dialog, IDC_FIX_COMBO);
  ASSERT_EQ(ui::ComboCount(combo), 4);
  EXPECT_EQ(ui::ComboItemText(combo, 2), "D:");
  ui::SelectComboItem(combo, 2);
  LogAfter("selendok:2");
  ui::SelectComboText(combo, "A:");
  EXPECT_EQ(LogAfter("selendok:0"), "selendok:2 selendok:0");
  EXPECT_EQ(ui::ComboSelection(combo), 0);
  EXPECT_THROW(ui::SelectComboText(combo, "Z:"), ui::Failure);
}

TEST_F(Driver, ListRowIsDoubleClickedAfterItIsSelected) {
  HWND list = ui::Control(dialog, IDC_FIX_LIST);
  std::vector<std::string> rows = ui::ListRows(list);
  ASSERT_EQ(rows.size(), 12u);
  EXPECT_EQ(rows[3], "delta");
  ui::DoubleClickListRow(list, 3);
  EXPECT_EQ(LogAfter("dblclk:3"), "dblclk:3");
  EXPECT_EQ(ui::ListSelectedRow(list), 3);
  // A row scrolled out of sight is brought into view first.
  ui::DoubleClickListText(list, "lima");
  LogAfter("dblclk:11");
  EXPECT_EQ(ui::ListSelectedRow(list), 11);
}

TEST_F(Driver, ExitCodeIsReported) {
  ui::PressButton(dialog, IDC_FIX_QUIT);
  EXPECT_EQ(fixture.WaitExit(5000), (DWORD)FIXTURE_EXIT_CODE);
  EXPECT_FALSE(fixture.Running());
}

TEST_F(Driver, ScreenShowsTheDialog) {
  // The dialog face is the system's button face colour wherever no control is.
  ui::Pixels shown = ui::CaptureClient(dialog);
  ASSERT_GT(shown.width, 100);
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  ui::Rgb expected = {GetRValue(face), GetGValue(face), GetBValue(face)};
  EXPECT_EQ(ui::Describe(shown.At(shown.width - 3, shown.height / 2)), ui::Describe(expected));
}

TEST_F(Driver, WindowsAreFoundByTheirControlsTexts) {
  ui::WindowQuery query = ui::WindowQuery().OfProcess(fixture).WithControlText(IDOK, "OK").NoMessageBox();
  EXPECT_EQ(ui::WaitWindow(query, 2000), dialog);
  EXPECT_EQ(ui::FindWindowNow(ui::WindowQuery().OfProcess(fixture).WithControlText(IDOK, "Finish")), nullptr);
  EXPECT_EQ(ui::FindWindowNow(ui::WindowQuery().OfProcess(fixture).MessageBoxOnly()), nullptr);
}

TEST(DriverWaits, FailWithWhatTheyWaitedFor) {
  ui::WindowQuery query = ui::WindowQuery().Class("#32770").Caption("Never shown").WithControl(42);
  try {
    ui::WaitWindow(query, 300);
    FAIL() << "the wait did not fail";
  } catch (const ui::Failure& failure) {
    std::string message = failure.what();
    EXPECT_NE(message.find("timed out after 0.3 s"), std::string::npos) << message;
    EXPECT_NE(message.find("class \"#32770\" with caption \"Never shown\" having control 42"), std::string::npos)
        << message;
  }
  EXPECT_THROW(ui::Process::Start("C:\\no\\such\\program.exe"), ui::Failure);
}

TEST(DriverPaths, UnixPathsGoThroughDriveZ) {
  EXPECT_EQ(ui::WindowsPath("/work/main/build/setup.exe"), "Z:\\work\\main\\build\\setup.exe");
  EXPECT_EQ(ui::WindowsPath("E:\\INSTALL"), "E:\\INSTALL");
}

}  // namespace
