// The folder list that both browse dialogs share: a list view of the
// subfolders of a path, an up row and a target row, walked by double-click.
#pragma once
#include <windows.h>

enum FolderListMode {
  DirectoryMode = 0,  // the Browse dialog: BrowsePath, label 102
  GroupMode = 1,      // the program group browser: GroupPath, label 211
};

// Makes the list's image list of icons 201, 202 and 203 and records their
// indices in FolderIcon, UpIcon and TargetIcon.
void CreateFolderImageList(HWND listView);
// Rebuilds every row for path (a 512-byte buffer) and the dialog's label.
void FillFolderList(HWND dialog, HWND listView, char* path, int mode);
// Moves up or into the selected row, then rebuilds the list.
void FolderListDoubleClick(HWND dialog, HWND listView, char* path, int mode);
