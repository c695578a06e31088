// Combo boxes and list views of another process.
#include "driver/ui_driver.h"

#include <commctrl.h>
#include <string.h>

namespace ui {

namespace {

LRESULT Ask(HWND control, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(control, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result))
    throw Failure("control " + std::to_string(GetDlgCtrlID(control)) + " does not answer message " +
                  std::to_string(message));
  return (LRESULT)result;
}

// A block of memory inside the control's process: list-view messages carry
// pointers that the system does not copy between processes.
class RemoteBlock {
 public:
  RemoteBlock(HWND owner, size_t size) : size_(size) {
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, ProcessOf(owner));
    if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    if (!address_) throw Failure("cannot reach the memory of process " + std::to_string(ProcessOf(owner)));
  }
  ~RemoteBlock() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;

  char* At(size_t offset) const { return (char*)address_ + offset; }
  void Write(size_t offset, const void* data, size_t n) {
    SIZE_T done = 0;
    if (offset + n > size_ || !WriteProcessMemory(process_, At(offset), data, n, &done) || done != n)
      throw Failure("cannot write to another process");
  }
  void Read(size_t offset, void* data, size_t n) const {
    SIZE_T done = 0;
    if (offset + n > size_ || !ReadProcessMemory(process_, At(offset), data, n, &done) || done != n)
      throw Failure("cannot read from another process");
  }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
  size_t size_;
};

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

}  // namespace

int ComboCount(HWND combo) { return (int)Ask(combo, CB_GETCOUNT); }
int ComboSelection(HWND combo) { return (int)Ask(combo, CB_GETCURSEL); }

std::string ComboItemText(HWND combo, int index) {
  LRESULT length = Ask(combo, CB_GETLBTEXTLEN, index);
  if (length == CB_ERR) throw Failure("combo box has no item " + std::to_string(index));
  // The system copies CB_GETLBTEXT's buffer between processes; asked in
  // wide characters, it copies the text whole.
  std::wstring wide(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(combo, CB_GETLBTEXT, index, (LPARAM)&wide[0], SMTO_ABORTIFHUNG, 5000, &copied);
  std::string text(2 * length + 2, '\0');
  int n = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, &text[0], (int)text.size(), nullptr, nullptr);
  text.resize(n > 0 ? n - 1 : 0);
  return text;
}

void SelectComboItem(HWND combo, int index) {
  int count = ComboCount(combo);
  if (index < 0 || index >= count)
    throw Failure("combo box has " + std::to_string(count) + " items, no item " + std::to_string(index));
  // A click on a drop-down list opens it and gives the combo box the focus.
  RECT client;
  GetClientRect(combo, &client);
  ClickAt(combo, POINT{client.right - 8, client.bottom / 2});
  WaitUntil([&] { return Ask(combo, CB_GETDROPPEDSTATE) != 0; }, "the combo box's list to open", 5000);
  for (int tries = 0; ComboSelection(combo) != index; ++tries) {
    if (tries > count + 1) throw Failure("the arrow keys do not reach combo item " + std::to_string(index));
    int before = ComboSelection(combo);
    PressKey(combo, before < index ? VK_DOWN : VK_UP);
    WaitUntil([&] { return ComboSelection(combo) != before; }, "the combo box's selection to move", 5000);
  }
  PressKey(combo, VK_RETURN);  // closes the list with CBN_SELENDOK
  WaitUntil([&] { return Ask(combo, CB_GETDROPPEDSTATE) == 0; }, "the combo box's list to close", 5000);
}

void SelectComboText(HWND combo, const std::string& text) {
  int count = ComboCount(combo);
  for (int i = 0; i < count; ++i) {
    if (ComboItemText(combo, i) == text) return SelectComboItem(combo, i);
  }
  throw Failure("combo box has no item " + Quoted(text));
}

int ListRowCount(HWND list) { return (int)Ask(list, LVM_GETITEMCOUNT); }
int ListSelectedRow(HWND list) { return (int)Ask(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED); }

std::string ListRowText(HWND list, int row) {
  const size_t textSize = 1024;
  RemoteBlock block(list, sizeof(LVITEMA) + textSize);
  LVITEMA item = {};
  item.iSubItem = 0;
  item.pszText = block.At(sizeof(LVITEMA));
  item.cchTextMax = textSize;
  block.Write(0, &item, sizeof(item));
  LRESULT length = Ask(list, LVM_GETITEMTEXTA, row, (LPARAM)block.At(0));
  std::string text(textSize, '\0');
  block.Read(sizeof(LVITEMA), &text[0], textSize);
  text.resize(length > 0 && (size_t)length < textSize ? (size_t)length : 0);
  return text;
}

std::vector<std::string> ListRows(HWND list) {
  std::vector<std::string> rows;
  int count = ListRowCount(list);
  for (int i = 0; i < count; ++i) rows.push_back(ListRowText(list, i));
  return rows;
}

RECT ListRowRect(HWND list, int row) {
  RemoteBlock block(list, sizeof(RECT));
  RECT rect = {};
  rect.left = LVIR_LABEL;
  block.Write(0, &rect, sizeof(rect));
  if (!Ask(list, LVM_GETITEMRECT, row, (LPARAM)block.At(0)))
    throw Failure("list view has no row " + std::to_string(row));
  block.Read(0, &rect, sizeof(rect));
  return rect;
}

void DoubleClickListRow(HWND list, int row) {
  int count = ListRowCount(list);
  if (row < 0 || row >= count)
    throw Failure("list view has " + std::to_string(count) + " rows, no row " + std::to_string(row));
  // A user scrolls a row into view before clicking it.
  Ask(list, LVM_ENSUREVISIBLE, row, FALSE);
  RECT rect = ListRowRect(list, row);
  POINT middle = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  DoubleClickAt(list, middle);
}

void DoubleClickListText(HWND list, const std::string& text) {
  int count = ListRowCount(list);
  for (int i = 0; i < count; ++i) {
    if (ListRowText(list, i) == text) return DoubleClickListRow(list, i);
  }
  throw Failure("list view has no row " + Quoted(text));
}

}  // namespace ui
