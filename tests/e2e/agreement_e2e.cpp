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
  // Agreeing goes on to the destination page; it does not end the setup.
  HWND destination = WaitPage(IDC_BROWSE, page);
  EXPECT_TRUE(GetDlgItem(destination, IDC_PATH)) << "the destination page";
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
  auto differing = [&] { return DifferingPixels(ui::CaptureClient(page), picture, controls); };
  ui::WaitUntil([&] { return differing() == 0; }, "the page to paint its picture", 5000);

  // Wine shows an uncovered window again from its own copy, without a paint,
  // so black is drawn on the screen over part of the picture and that part
  // invalidated instead (in some runs Wine restores it from its copy even so).
  RECT cover = {20, 10, 300, 200};
  HDC dc = GetDCEx(page, nullptr, DCX_CLIPCHILDREN);
  FillRect(dc, &cover, (HBRUSH)GetStockObject(BLACK_BRUSH));
  ReleaseDC(page, dc);
  ui::WaitUntil([&] { return differing() > 1000; }, "black over part of the picture", 5000);
  RedrawWindow(page, &cover, nullptr, RDW_INVALIDATE | RDW_ERASE);
  ui::WaitUntil([&] { return differing() == 0; }, "the page to repaint its picture", 5000);
}

}  // namespace
