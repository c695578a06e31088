// uidriver.exe: the UI driver as one command per step, for scripts.
//
//   uidriver start [--cwd DIR] PROGRAM [ARGS...]   prints the process id
//   uidriver wait    QUERY                        prints the window handle
//   uidriver gone    QUERY                        waits until none matches
//   uidriver text    QUERY --control ID           prints the control's text
//   uidriver msgbox  [--pid P]                    prints caption, text, icon
//   uidriver answer  [--pid P] ok|yes|no|cancel   answers the message box
//   uidriver click   QUERY --control ID           presses a button
//   uidriver mouse   QUERY [--control ID]         real click at its centre
//   uidriver key     QUERY KEY                    enter, escape, tab, up, down...
//   uidriver type    QUERY TEXT                   types TEXT
//   uidriver select  QUERY --control ID (--index N | --text T)   combo box
//   uidriver dblclick QUERY --control ID (--row N | --text T)    list view
//   uidriver rows    QUERY --control ID           prints a list view's rows
//   uidriver exit    --pid P                      waits, prints the exit code
//   uidriver shot    FILE.bmp                     saves the screen
//
// Commands joined by --and run one after the other in one driver process,
// with no start-up time between them: "key --has 199 enter --and wait
// --has 214 --shot copy.bmp" catches a page that is soon gone again. wait
// --shot FILE.bmp saves the screen the moment the window shows; key, type,
// mouse, select and dblclick with --no-settle return as soon as the input
// is given, without waiting for the program to take it.
//
// QUERY is any of --class C, --caption T, --pid P, --has ID, --has-text ID T
// (a control reading T) and --not-box (no message box); --has and
// --has-text may be repeated;
// every command takes --timeout SECONDS (default 20). Failures print one line
// on stderr and exit with 1; a bad command line exits with 2.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "driver/ui_driver.h"

namespace {

struct Options {
  std::string command;
  ui::WindowQuery query;
  DWORD timeout = ui::kDefaultTimeout;
  int control = 0;
  bool controlSet = false;
  int index = -1;
  std::string text, cwd, shot;
  bool textSet = false;
  std::vector<std::string> rest;
};

[[noreturn]] void Usage(const std::string& why) {
  fprintf(stderr, "uidriver: %s (see the comment at the top of uidriver_main.cpp)\n", why.c_str());
  exit(2);
}

Options Parse(int argc, char** argv) {
  if (argc < 1) Usage("no command");
  Options o;
  o.command = argv[0];
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) Usage(a + " needs a value");
      return argv[++i];
    };
    // After the program of "start", everything is the program's own.
    if (o.command == "start" && !o.rest.empty()) {
      o.rest.push_back(a);
    } else if (a == "--class") {
      o.query.Class(value());
    } else if (a == "--caption") {
      o.query.Caption(value());
    } else if (a == "--pid") {
      o.query.OfProcess((DWORD)strtoul(value().c_str(), nullptr, 0));
    } else if (a == "--has") {
      o.query.WithControl((int)strtol(value().c_str(), nullptr, 0));
    } else if (a == "--has-text") {
      int id = (int)strtol(value().c_str(), nullptr, 0);
      o.query.WithControlText(id, value());
    } else if (a == "--not-box") {
      o.query.NoMessageBox();
    } else if (a == "--timeout") {
      o.timeout = (DWORD)(atof(value().c_str()) * 1000);
    } else if (a == "--control") {
      o.control = (int)strtol(value().c_str(), nullptr, 0);
      o.controlSet = true;
    } else if (a == "--index" || a == "--row") {
      o.index = atoi(value().c_str());
    } else if (a == "--text") {
      o.text = value();
      o.textSet = true;
    } else if (a == "--no-settle") {
      ui::SetSettleAfterInput(false);
    } else if (a == "--shot") {
      o.shot = value();
    } else if (a == "--cwd") {
      o.cwd = value();
    } else {
      o.rest.push_back(a);
    }
  }
  return o;
}

int NeedControl(const Options& o) {
  if (!o.controlSet) Usage(o.command + " needs --control ID");
  return o.control;
}

WORD KeyNamed(const std::string& name) {
  static const struct {
    const char* name;
    WORD key;
  } keys[] = {{"enter", VK_RETURN}, {"escape", VK_ESCAPE}, {"tab", VK_TAB},   {"space", VK_SPACE},
              {"up", VK_UP},        {"down", VK_DOWN},     {"left", VK_LEFT}, {"right", VK_RIGHT},
              {"home", VK_HOME},    {"end", VK_END},       {"pageup", VK_PRIOR}, {"pagedown", VK_NEXT},
              {"backspace", VK_BACK}, {"delete", VK_DELETE}};
  for (const auto& k : keys)
    if (name == k.name) return k.key;
  Usage("unknown key " + name);
}

int ButtonNamed(const std::string& name) {
  if (name == "ok") return IDOK;
  if (name == "cancel") return IDCANCEL;
  if (name == "yes") return IDYES;
  if (name == "no") return IDNO;
  return atoi(name.c_str());
}

int Run(const Options& o) {
  const std::string& c = o.command;
  if (c == "start") {
    if (o.rest.empty()) Usage("start needs a program");
    std::string args;
    for (size_t i = 1; i < o.rest.size(); ++i) args += (i > 1 ? " " : "") + o.rest[i];
    ui::Process p = ui::Process::Start(o.rest[0], o.cwd, args);
    printf("%lu\n", p.Id());
    p.Detach();
    return 0;
  }
  if (c == "msgbox" || c == "answer") {
    ui::MessageBoxView box = ui::WaitMessageBox(o.query.processId, o.timeout);
    if (c == "msgbox") {
      printf("%s\n%s\n%s\n", box.caption.c_str(), box.text.c_str(), ui::IconName(box.icon));
    } else {
      if (o.rest.empty()) Usage("answer needs a button");
      ui::Answer(box, ButtonNamed(o.rest[0]));
    }
    return 0;
  }
  if (c == "exit") {
    if (!o.query.processId) Usage("exit needs --pid");
    ui::Process p = ui::Process::Attach(o.query.processId);
    DWORD code = p.WaitExit(o.timeout);
    printf("%lu\n", code);
    return 0;
  }
  if (c == "shot") {
    if (o.rest.empty()) Usage("shot needs a file");
    return ui::SaveBmp(ui::CaptureScreen(), o.rest[0]) ? 0 : 1;
  }
  if (c == "gone") {
    ui::WaitUntil([&] { return ui::FindWindowNow(o.query) == nullptr; }, o.query.Describe() + " to close", o.timeout);
    return 0;
  }

  HWND window = ui::WaitWindow(o.query, o.timeout);
  if (c == "wait") {
    if (!o.shot.empty() && !ui::SaveBmp(ui::CaptureScreen(), o.shot)) throw ui::Failure("cannot write " + o.shot);
    printf("%lu\n", (unsigned long)(UINT_PTR)window);
  } else if (c == "text") {
    printf("%s\n", ui::ControlText(window, NeedControl(o)).c_str());
  } else if (c == "click") {
    ui::PressButton(window, NeedControl(o));
  } else if (c == "mouse") {
    ui::Click(o.controlSet ? ui::Control(window, o.control) : window);
  } else if (c == "key") {
    if (o.rest.empty()) Usage("key needs a key name");
    ui::PressKey(window, KeyNamed(o.rest[0]));
  } else if (c == "type") {
    if (o.rest.empty()) Usage("type needs text");
    ui::TypeText(window, o.rest[0]);
  } else if (c == "select") {
    HWND combo = ui::Control(window, NeedControl(o));
    if (o.textSet) ui::SelectComboText(combo, o.text);
    else ui::SelectComboItem(combo, o.index);
  } else if (c == "dblclick") {
    HWND list = ui::Control(window, NeedControl(o));
    if (o.textSet) ui::DoubleClickListText(list, o.text);
    else ui::DoubleClickListRow(list, o.index);
  } else if (c == "rows") {
    for (const std::string& row : ui::ListRows(ui::Control(window, NeedControl(o)))) printf("%s\n", row.c_str());
  } else {
    Usage("unknown command " + c);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // Split the command line at each --and into the commands to run.
  std::vector<Options> commands;
  for (int start = 1, i = 1; i <= argc; ++i) {
    if (i == argc || strcmp(argv[i], "--and") == 0) {
      if (i == start) Usage("no command");
      commands.push_back(Parse(i - start, argv + start));
      start = i + 1;
    }
  }
  for (const Options& options : commands) {
    try {
      int status = Run(options);
      if (status != 0) return status;
    } catch (const ui::Failure& failure) {
      fprintf(stderr, "uidriver %s: %s\n", options.command.c_str(), failure.what());
      return 1;
    }
  }
  return 0;
}
