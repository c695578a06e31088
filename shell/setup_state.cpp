#include "shell/setup_state.h"

HINSTANCE Instance;
HWND MainWindow;
int ScreenWidth;
int ScreenHeight;
DWORD WinVersion;

char SourceDir[512];
char DriveTable[100];
int DriveCount;
int SelectedDrive;
DWORD FreeKB;
char BrowsePath[512];
char FolderName[512];
char InstallDir[512];
SECURITY_ATTRIBUTES DirSecurity;

char GroupPath[512];
char GroupDir[512];
char LinkTarget[512];
char FinalOpenPath[516];

char MessageText[512];
char TempDir[260];
char TempFile[512];
char DestFile[1024];
int CancelRequested;
int EditGuard;
int ListEntryCount;
int FolderIcon, UpIcon, TargetIcon;
