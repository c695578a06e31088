// Times whole keyboard-driven installations of setup.exe into a fresh
// folder, and the copy phase within them: from Next on the destination page
// until the program group page is up.
//   install_bench.exe SETUP_EXE RUNS
// Prints one line per run: "copy SECONDS total SECONDS".
#include <stdio.h>
#include <stdlib.h>

#include <string>

#include "driver/ui_driver.h"
#include "resource.h"

namespace {

double Seconds() {
  static LARGE_INTEGER frequency;
  if (frequency.QuadPart == 0) QueryPerformanceFrequency(&frequency);
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return (double)now.QuadPart / (double)frequency.QuadPart;
}

HWND Page(const ui::Process& setup, int controlId, HWND except = nullptr) {
  return ui::WaitWindow(
      ui::WindowQuery().Class("#32770").OfProcess(setup.Id()).WithControl(controlId).Except(except).NoMessageBox(), 60000);
}

void Answer(const ui::Process& setup, int button) { ui::Answer(ui::WaitMessageBox(setup.Id(), 60000), button); }

void RunOnce(const std::string& setupExe, double* copy, double* total) {
  system("cmd /c rmdir /s /q D:\\bench >nul 2>nul");
  double start = Seconds();
  ui::Process setup = ui::Process::Start(setupExe, "E:\\");
  HWND agreement = Page(setup, IDC_AGREEMENT_TEXT);
  ui::PressKey(agreement, VK_RETURN);
  HWND destination = Page(setup, IDC_BROWSE, agreement);
  ui::PressButton(destination, IDC_BROWSE);
  HWND browse = ui::WaitWindow(ui::WindowQuery().Class("#32770").Caption("Setup - directory").OfProcess(setup.Id()));
  ui::SelectComboText(ui::Control(browse, IDC_DRIVES), "D:\\");
  SetWindowTextA(ui::Control(browse, IDC_FOLDER_NAME), "bench");
  ui::PressButton(browse, IDOK);
  ui::WaitGone(browse, "the Browse dialog");
  double copyStart = Seconds();
  ui::PressKey(destination, VK_RETURN);
  HWND group = ui::WaitWindow(
      ui::WindowQuery().Class("#32770").OfProcess(setup.Id()).WithControlText(IDOK, "Finish").NoMessageBox(), 60000);
  *copy = Seconds() - copyStart;
  ui::PressKey(group, VK_ESCAPE);  // no shortcuts: the bench leaves no group behind
  Answer(setup, IDYES);
  Answer(setup, IDOK);
  setup.WaitExit(60000);
  *total = Seconds() - start;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: install_bench SETUP_EXE RUNS\n");
    return 2;
  }
  int runs = atoi(argv[2]);
  for (int i = 0; i < runs; ++i) {
    double copy = 0, total = 0;
    try {
      RunOnce(argv[1], &copy, &total);
    } catch (const std::exception& failure) {
      fprintf(stderr, "install_bench: %s\n", failure.what());
      return 1;
    }
    printf("copy %.3f total %.3f\n", copy, total);
    fflush(stdout);
  }
  return 0;
}
