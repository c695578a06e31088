#include "destination/folder_list.h"

#include <commctrl.h>

#include "destination/folder_rules.h"
#include "resource.h"
#include "shell/bounded_text.h"
#include "shell/setup_state.h"
#include "shell/system_libraries.h"

static int AddIcon(HIMAGELIST images, int id) {
  return ImageListReplaceIcon(images, -1, LoadIconA(Instance, MAKEINTRESOURCEA(id)));
}

void CreateFolderImageList(HWND listView) {
  HIMAGELIST images = ImageListCreate(16, 16, ILC_MASK, 3, 0);
  FolderIcon = AddIcon(images, IDI_FOLDER);
  UpIcon = AddIcon(images, IDI_UP);
  TargetIcon = AddIcon(images, IDI_TARGET);
  SendMessageA(listView, LVM_SETIMAGELIST, LVSIL_SMALL, (LPARAM)images);
}

// The control sorts its rows, so index is only a request.
static void AddFolderRow(HWND listView, const char* text, int index, int image) {
  LVITEMA item = {};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = index;
  item.pszText = (LPSTR)text;
  item.iImage = image;
  SendMessageA(listView, LVM_INSERTITEMA, 0, (LPARAM)&item);
}

static int AddSubfolderRows(HWND listView, const char* pattern, int n) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return n;
  do {
    if (IsListedFolder(found.cFileName, found.dwFileAttributes)) AddFolderRow(listView, found.cFileName, n++, FolderIcon);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return n;
}

void FillFolderList(HWND dialog, HWND listView, char* path, int mode) {
  SendMessageA(listView, LVM_DELETEALLITEMS, 0, 0);
  int n = 0;
  if (HasUpRow(path, mode)) AddFolderRow(listView, kUpRowText, n++, UpIcon);
  int cut = AppendSearchPattern(path, kPathBufferSize, mode);
  if (cut > 0) {
    n = AddSubfolderRows(listView, path, n);
    CutSearchPattern(path, cut);
  }
  ListEntryCount = n;
  AddFolderRow(listView, FolderName, n, TargetIcon);

  // A label too long for its buffer shows the path alone.
  if (!ComposeFolderLabel(MessageText, sizeof(MessageText), path, mode, FolderName)) CopyText(MessageText, path);
  SetDlgItemTextA(dialog, mode == GroupMode ? IDC_GROUP_LABEL : IDC_BROWSE_LABEL, MessageText);
}

void FolderListDoubleClick(HWND dialog, HWND listView, char* path, int mode) {
  int selected = (int)SendMessageA(listView, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
  switch (DecideFolderStep(selected, ListEntryCount, path, mode)) {
    case StepUp:
      GoUpOneLevel(path, mode);
      break;
    case StepInto: {
      char text[256] = "";
      LVITEMA item = {};
      item.mask = LVIF_TEXT;
      item.iItem = selected;
      item.pszText = text;
      item.cchTextMax = 255;
      // The control may point pszText at its own copy instead of filling text.
      if (SendMessageA(listView, LVM_GETITEMA, 0, (LPARAM)&item)) EnterFolder(path, mode, item.pszText);
      break;
    }
    case StepNone:
      break;
  }
  FillFolderList(dialog, listView, path, mode);
}
