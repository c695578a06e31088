// Drives another program's windows the way a user does, for end-to-end tests
// that run beside that program under Wine: start it, wait for its windows,
// read what they show, press its buttons and keys, pick combo-box items,
// double-click list rows, wait for it to end and look at the screen.
//
// Every wait is bounded. When a wait runs out, or a window or control that a
// step needs is not there, the call throws ui::Failure with a message that
// names what was awaited, so a test body reads as the user's steps alone.
#pragma once
#include <windows.h>

#include <ostream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace ui {

struct Failure : std::runtime_error {
  explicit Failure(const std::string& what) : std::runtime_error(what) {}
};

// Bound of every wait that is not given one, in milliseconds.
constexpr DWORD kDefaultTimeout = 20000;

// ---------------------------------------------------------------------------
// Processes

// A started program. Ending the object ends a program still running, so a
// failed test leaves nothing behind on the shared screen.
class Process {
 public:
  // Starts program (a Windows path; a Unix path is taken through drive Z:)
  // with currentDir as its current directory (empty: the driver's own).
  static Process Start(const std::string& program, const std::string& currentDir = "",
                       const std::string& arguments = "");
  Process() = default;
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  ~Process();

  DWORD Id() const { return id_; }
  const std::string& Name() const { return name_; }
  bool Running() const;
  // Waits for the program to end and returns its exit code.
  DWORD WaitExit(DWORD timeout = kDefaultTimeout) const;
  // Ends the program at once (if it still runs) and waits until it is gone.
  void Terminate();
  // Lets the program run on after this object ends.
  void Detach();
  // Opens a program already running, by its process id.
  static Process Attach(DWORD id);

 private:
  HANDLE handle_ = nullptr;
  DWORD id_ = 0;
  std::string name_;
};

// A Unix path ("/work/...") as Wine's drive Z: sees it; other paths unchanged.
std::string WindowsPath(const std::string& path);

// ---------------------------------------------------------------------------
// Finding windows

// Which top-level window to look for. Every field that is set must match;
// only visible windows match.
struct WindowQuery {
  std::string className;  // exact, e.g. "#32770" for a dialog; empty: any
  std::string caption;    // exact, when captionSet
  bool captionSet = false;
  DWORD processId = 0;    // owning process; 0: any
  std::vector<int> controls;  // ids of child controls it must have
  HWND except = nullptr;  // a window that does not count (e.g. the previous page)
  std::vector<std::pair<int, std::string>> controlTexts;  // controls with these texts
  enum Kind { AnyKind, OnlyMessageBoxes, NoMessageBoxes } kind = AnyKind;

  WindowQuery& Class(const std::string& name) { className = name; return *this; }
  WindowQuery& Caption(const std::string& text) { caption = text; captionSet = true; return *this; }
  WindowQuery& OfProcess(DWORD id) { processId = id; return *this; }
  WindowQuery& OfProcess(const Process& p) { processId = p.Id(); return *this; }
  WindowQuery& WithControl(int id) { controls.push_back(id); return *this; }
  WindowQuery& Except(HWND window) { except = window; return *this; }
  WindowQuery& WithControlText(int id, const std::string& text) {
    controlTexts.emplace_back(id, text);
    return *this;
  }
  WindowQuery& MessageBoxOnly() { kind = OnlyMessageBoxes; return *this; }
  WindowQuery& NoMessageBox() { kind = NoMessageBoxes; return *this; }

  bool Matches(HWND window) const;
  // "a window of class "#32770" with caption "X" of process 0x2c having control 199"
  std::string Describe() const;
};

// The first matching window, or none.
HWND FindWindowNow(const WindowQuery& query);
// Waits until a matching window is shown; returns it.
HWND WaitWindow(const WindowQuery& query, DWORD timeout = kDefaultTimeout);
// Waits until window is destroyed or hidden; what names it in the message.
void WaitGone(HWND window, const std::string& what, DWORD timeout = kDefaultTimeout);
// Waits until condition() holds; what names the condition in the message.
template <typename Condition>
void WaitUntil(Condition condition, const std::string& what, DWORD timeout = kDefaultTimeout);
void Pause(DWORD milliseconds);

// ---------------------------------------------------------------------------
// Reading windows

HWND Control(HWND dialog, int id);  // the dialog's control id; throws when missing
std::string Text(HWND window);     // its window text, read through WM_GETTEXT
std::string ControlText(HWND dialog, int id);
std::string ClassName(HWND window);
DWORD Style(HWND window);
DWORD ProcessOf(HWND window);
RECT ScreenRect(HWND window);     // window rectangle in screen pixels
RECT ClientScreenRect(HWND window);  // client area in screen pixels
bool Overlap(const RECT& a, const RECT& b);

// ---------------------------------------------------------------------------
// Message boxes

// A message box: a dialog with the system's message-text control and
// nothing but buttons and static controls.
bool IsMessageBox(HWND window);

enum class Icon { None, Information, Question, Warning, Error, Unknown };
const char* IconName(Icon icon);
inline std::ostream& operator<<(std::ostream& out, Icon icon) { return out << IconName(icon); }

struct MessageBoxView {
  HWND window = nullptr;
  std::string caption;
  std::string text;
  Icon icon = Icon::None;
};

// Waits for a message box of the process (a dialog with the message-text
// control) and reads its caption, text and icon; the icon is told by its
// pixels against the system's standard icons.
MessageBoxView WaitMessageBox(DWORD processId, DWORD timeout = kDefaultTimeout);
MessageBoxView ReadMessageBox(HWND box);
// Clicks the box's button (IDOK, IDYES, IDNO...) and waits until it closes.
void Answer(const MessageBoxView& box, int buttonId);

// ---------------------------------------------------------------------------
// Input

// Posts BM_CLICK to the dialog's button: the button itself reports the click
// to its dialog, as after a mouse click. Posted, so that a button that opens
// a modal dialog does not block the driver.
void PressButton(HWND dialog, int id);
// A real mouse click (system input) at a point of window's client area, or
// at its centre.
void ClickAt(HWND window, POINT clientPoint);
void Click(HWND window);
void DoubleClickAt(HWND window, POINT clientPoint);
// Makes window the foreground window (waits until it is) so that keyboard
// input reaches it and its focused control.
void BringToFront(HWND window);
// Real keyboard input through the system's input queue: the key goes to the
// focused control of the foreground window, and a dialog's own message loop
// sees it (Enter presses the default button, Escape cancels). window is
// brought to the front first.
void PressKey(HWND window, WORD virtualKey);
// The same, with Ctrl, Shift or Alt held down (VK_CONTROL...).
void PressKeyWith(HWND window, WORD modifier, WORD virtualKey);
// After each key or click the driver waits (up to 3 s) until the target is
// idle again, having taken the input. Off, input returns at once: for
// catching a window that the input shows only briefly.
void SetSettleAfterInput(bool on);
// Types text as key presses (letters, digits, space, and "\\:._-").
void TypeText(HWND window, const std::string& text);
// The control that has the keyboard focus in window's thread.
HWND FocusedControl(HWND window);

// Combo boxes: items and selection as the control reports them.
int ComboCount(HWND combo);
int ComboSelection(HWND combo);
std::string ComboItemText(HWND combo, int index);
// Picks item index as a user does: focuses the combo box with a click, opens
// its list, walks to the item with the arrow keys and confirms with Enter, so
// that the dialog gets CBN_SELENDOK and CBN_SELCHANGE from the control itself.
void SelectComboItem(HWND combo, int index);
// The same, by the item's text; throws when no item has it.
void SelectComboText(HWND combo, const std::string& text);

// List views (report, list or icon view).
int ListRowCount(HWND list);
std::string ListRowText(HWND list, int row);
std::vector<std::string> ListRows(HWND list);
int ListSelectedRow(HWND list);  // -1 when none
RECT ListRowRect(HWND list, int row);  // the row's label, client coordinates
// Double-clicks the row with the real mouse: the first click selects it, the
// second makes the list view send NM_DBLCLK to its dialog.
void DoubleClickListRow(HWND list, int row);
// The same, by the row's text.
void DoubleClickListText(HWND list, const std::string& text);

// ---------------------------------------------------------------------------
// Pixels

struct Rgb {
  BYTE r, g, b;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
  bool operator!=(const Rgb& o) const { return !(*this == o); }
};
std::string Describe(Rgb colour);  // "(0,0,255)"

struct Pixels {
  int left = 0, top = 0;  // screen position of the first pixel
  int width = 0, height = 0;
  std::vector<Rgb> rgb;   // rows top-down
  Rgb At(int x, int y) const { return rgb[(size_t)y * width + x]; }  // relative
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

// What the screen shows now, whole or in a rectangle of screen pixels.
Pixels CaptureScreen();
Pixels CaptureScreenRect(const RECT& rect);
// The pixels of window's rectangle (or its client area) as the screen shows it.
Pixels CaptureWindow(HWND window);
Pixels CaptureClient(HWND window);
// Writes pixels as a 24-bit BMP file; false when it cannot.
bool SaveBmp(const Pixels& pixels, const std::string& path);

// A bitmap resource of a module file (loaded as data, never run), decoded to
// pixels; throws when the file or the resource is missing or not a bitmap.
Pixels BitmapResource(const std::string& moduleFile, const char* name);
// A string resource of a module file; throws when it is missing.
std::string StringResource(const std::string& moduleFile, UINT id);

// ---------------------------------------------------------------------------

// Throws the Failure of a wait that ran out.
[[noreturn]] void TimedOut(const std::string& what, DWORD timeout);

template <typename Condition>
void WaitUntil(Condition condition, const std::string& what, DWORD timeout) {
  DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return;
    if (GetTickCount() - start >= timeout) TimedOut(what, timeout);
    Sleep(40);
  }
}

}  // namespace ui
