// The licence agreement page, driven as a user drives it.
#include "setup_run.h"

namespace {

class AgreementPage : public SetupRun {
 protected:
  void SetUp() override { page = StartAtAgreement(); }

  // Expects the confirmation question over the page and returns it.
  ui::MessageBoxView ExpectCancelQuestion() {
    ui::MessageBoxView box = WaitMessage();
    EXPECT_EQ(box.text, kConfirmCancel);
    EXPECT_EQ(box.caption, kSetupCaption);
    EXPECT_EQ(box.icon, ui::Icon::Question);
    EXPECT_TRUE(GetDlgItem(box.window, IDYES) && GetDlgItem(box.window, IDNO)) << "a Yes/No question";
    return box;
  }

  HWND page = nullptr;
};

TEST_F(AgreementPage, EnterAgreesThroughTheDefaultButton) {
  // The focus is on "I Agree"; Enter goes through the dialog manager.
  EXPECT_EQ(ui::ControlText(page, IDOK), "I Agree");
  EXPECT_EQ(ui::FocusedControl(page), ui::Control(page, IDOK));
  ui::PressKey(page, VK_RETURN);
  ui::WaitGone(page, "the agreement page");

  // Next comes the destination page, or, while the later pages are not yet
  // in the program, the success message at once.
  HWND next = nullptr;
  ui::WindowQuery nextPage = ui::WindowQuery().Class("#32770").OfProcess(setup).WithControl(IDOK).Except(page);
  ui::WaitUntil([&] { return (next = ui::FindWindowNow(nextPage)) != nullptr; }, "the page after the agreement");
  if (ui::IsMessageBox(next)) {
    ui::MessageBoxView done = ui::ReadMessageBox(next);
    EXPECT_EQ(done.text, "Norvu was successfully installed");
    EXPECT_EQ(done.caption, kSetupCaption);
    EXPECT_EQ(done.icon, ui::Icon::Information);
    ui::Answer(done, IDOK);
    EXPECT_EQ(WaitSetupExit(), 0u);
  } else {
    EXPECT_FALSE(GetDlgItem(next, IDC_AGREEMENT_TEXT)) << "the agreement page came back";
    EXPECT_NE(ui::ControlText(next, IDOK), "I Agree");
  }
}

TEST_F(AgreementPage, EscapeAsksAndNoStaysOnThePage) {
  ui::PressKey(page, VK_ESCAPE);
  ui::Answer(ExpectCancelQuestion(), IDNO);
  EXPECT_TRUE(IsWindowVisible(page));
  EXPECT_TRUE(IsWindowEnabled(page));
  EXPECT_TRUE(setup.Running());
  // The Cancel button asks the same question.
  ui::Click(ui::Control(page, IDCANCEL));
  ui::Answer(ExpectCancelQuestion(), IDNO);
  EXPECT_TRUE(IsWindowVisible(page));
  EXPECT_EQ(WaitPage(IDC_AGREEMENT_TEXT), page);
}

TEST_F(AgreementPage, ConfirmedCancelEndsWithTheCancelMessageAndMakesNothing) {
  std::set<std::string> before = FolderTree("C:\\");
  std::set<std::string> sourceBefore = FolderTree("E:\\");
  ui::PressKey(page, VK_ESCAPE);
  ui::Answer(ExpectCancelQuestion(), IDYES);

  ui::MessageBoxView end = WaitMessage();
  EXPECT_EQ(end.text, kCancelText);
  EXPECT_EQ(end.caption, kSetupCaption);
  EXPECT_EQ(end.icon, ui::Icon::Warning);
  ui::Answer(end, IDOK);
  EXPECT_EQ(WaitSetupExit(), 0u);

  EXPECT_EQ(FolderTree("C:\\"), before) << "a cancelled setup made or removed a folder on C:";
  EXPECT_EQ(FolderTree("E:\\"), sourceBefore) << "a cancelled setup made or removed a folder on E:";
}

TEST_F(AgreementPage, ShowsTheWholeAgreementReadOnlyAndScrolling) {
  HWND text = ui::Control(page, IDC_AGREEMENT_TEXT);
  std::string agreement = ui::StringResource(SetupExe(), IDS_AGREEMENT);
  EXPECT_GT(agreement.size(), 1000u) << "string 189 is the licence agreement";
  EXPECT_EQ(ui::Text(text), agreement);

  EXPECT_TRUE(ui::Style(text) & ES_READONLY);
  ui::Click(text);
  ui::TypeText(page, "xyz");
  ui::PressKey(page, VK_DELETE);
  EXPECT_EQ(ui::Text(text), agreement) << "typing changed the agreement text";

  EXPECT_EQ(SendMessageA(text, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  ui::PressKey(page, VK_NEXT);
  ui::WaitUntil([&] { return SendMessageA(text, EM_GETFIRSTVISIBLELINE, 0, 0) > 0; },
                "Page Down to scroll the agreement text", 5000);
  ui::PressKeyWith(page, VK_CONTROL, VK_END);
  LRESULT lines = SendMessageA(text, EM_GETLINECOUNT, 0, 0);
  ui::WaitUntil([&] { return SendMessageA(text, EM_GETFIRSTVISIBLELINE, 0, 0) > lines / 2; },
                "Ctrl+End to scroll to the agreement's end", 5000);
}

TEST_F(AgreementPage, PaintsTheSidePanelPictureAndRepaintsItWhenUncovered) {
  ui::Pixels picture = ui::BitmapResource(SetupExe(), "IDB_KOSMAR");
  // The picture fills the page from its top-left corner, behind the controls.
  std::vector<RECT> controls = ControlRects(page);
  ASSERT_GE(ui::CaptureClient(page).width, 500);
  // The page paints a moment after it shows.
  auto expectPicture = [&](const char* what) {
    size_t differ = 0;
    try {
      ui::WaitUntil([&] { return (differ = DifferingPixels(ui::CaptureClient(page), picture, controls)) == 0; }, what,
                    5000);
    } catch (const ui::Failure& f) {
      ADD_FAILURE() << f.what() << ": " << differ << " pixels still differ";
    }
  };
  expectPicture("the page to paint its picture");

  // The question, dragged over the picture's top-left corner, hides part of
  // it; once the question closes, the page paints the picture there again.
  ui::PressKey(page, VK_ESCAPE);
  ui::MessageBoxView question = ExpectCancelQuestion();
  RECT pageRect = ui::ScreenRect(page);
  ui::MoveTo(question.window, pageRect.left + 10, pageRect.top + 10);
  ui::WaitUntil([&] { return DifferingPixels(ui::CaptureClient(page), picture, controls) > 1000; },
                "the question to hide part of the picture", 5000);
  ui::Answer(question, IDNO);
  expectPicture("the page to repaint its picture");
}

}  // namespace
