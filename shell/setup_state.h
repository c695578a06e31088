// The setup state: everything that one page decides and a later page uses.
// Plain globals, zero at process start, never freed; one thread reads and
// writes them, so nothing is locked.
#pragma once
#include <windows.h>

// Handles and metrics.
extern HINSTANCE Instance;   // the module: every resource load and dialog
extern HWND MainWindow;      // the backdrop window, owner of the pages
extern int ScreenWidth;      // HORZRES of the screen, from window creation
extern int ScreenHeight;     // VERTRES of the screen, from window creation
extern DWORD WinVersion;     // GetVersion, taken by the program group page

// Source and destination.
extern char SourceDir[512];         // current directory at start; a root as "E:"
extern char DriveTable[100];        // 20 slots of 5 bytes, each a drive root
extern int DriveCount;              // filled slots of DriveTable
extern int SelectedDrive;           // slot of the chosen drive
extern DWORD FreeKB;                // free space of that drive, in 1000 bytes
extern char BrowsePath[512];        // folder the Browse dialog shows
extern char FolderName[512];        // name of the folder to create, "Norvu"
extern char InstallDir[512];        // BrowsePath joined with FolderName
extern SECURITY_ATTRIBUTES DirSecurity;  // for the folders the setup creates

// Program group.
extern char GroupPath[512];      // parent of the group, then the group itself
extern char GroupDir[512];       // the group as shown; scratch for link paths
extern char LinkTarget[512];     // target of the shortcut being made
extern char FinalOpenPath[516];  // the group folder opened after success

// Scratch and copy state.
extern char MessageText[512];   // any text formatted for a label or a box
extern char TempDir[260];       // where compressed files are written
extern char TempFile[512];      // the compressed file in hand
extern char DestFile[1024];     // the installed file in hand
extern int CancelRequested;     // set by the copy page's Cancel
extern int EditGuard;           // set while the name field is put back
extern int ListEntryCount;      // rows before the folder list's target row
extern int FolderIcon, UpIcon, TargetIcon;  // image-list indices of icons 201-203
