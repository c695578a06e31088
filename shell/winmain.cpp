#include <windows.h>

#include "shell/bounded_text.h"
#include "shell/known_sids.h"
#include "shell/main_window.h"
#include "shell/setup_state.h"
#include "shell/startup.h"
#include "shell/system_libraries.h"
#include "shell/texts.h"

// Without the system's own copy of a library it needs, setup says so and
// ends before it has changed anything.
static bool SystemLibrariesLoaded() {
  const char* missing = LoadSystemLibraries();
  if (missing == nullptr) return true;
  ComposeText(MessageText, "Setup cannot run on this computer: ", missing,
              " could not be loaded from the Windows system folder.\n\nNothing has been changed.");
  MessageBoxA(nullptr, MessageText, kSetupCaption, MB_OK | MB_ICONERROR);
  return false;
}

typedef HANDLE(WINAPI* BoundaryCall)(LPCSTR name, ULONG flags);
typedef BOOL(WINAPI* AddSidCall)(HANDLE* boundary, PSID sid);
typedef HANDLE(WINAPI* CreateNamespaceCall)(LPSECURITY_ATTRIBUTES rights, LPVOID boundary, LPCSTR alias);
typedef HANDLE(WINAPI* OpenNamespaceCall)(LPVOID boundary, LPCSTR alias);

// A name that only administrators can take: the mutex's name in a private
// namespace (alias\Setup) bounded to Administrators (Vista and later),
// which no other user's process can create or open. Null where the system
// has none, or it could not be had. Neither handle is ever closed: the
// namespace lasts as long as this setup.
static const char* AdministratorsName(const char* alias) {
  auto makeBoundary = (BoundaryCall)KernelFunction("CreateBoundaryDescriptorA");
  auto addSid = (AddSidCall)KernelFunction("AddSIDToBoundaryDescriptor");
  auto create = (CreateNamespaceCall)KernelFunction("CreatePrivateNamespaceA");
  auto open = (OpenNamespaceCall)KernelFunction("OpenPrivateNamespaceA");
  if (makeBoundary == nullptr || addSid == nullptr || create == nullptr || open == nullptr) return nullptr;
  HANDLE boundary = makeBoundary(alias, 0);
  if (boundary == nullptr || !addSid(&boundary, (PSID)kAdministratorsSid)) return nullptr;
  // Another setup's namespace exists already: opened, it holds its mutex.
  if (create(nullptr, boundary, alias) == nullptr && open(boundary, alias) == nullptr) return nullptr;
  return "NorvuSetup\\Setup";
}

// A second setup would cover the screen with a second backdrop and install
// into the same folder as the first. The mutex is kept in the
// administrators' namespace where there is one: under a plain name any
// user of the machine could take it first, and every setup would then say
// that one runs. Elsewhere the name is Global\, one for every session, as
// the folder and the registry are (Windows 2000 and later); older systems,
// which have no sessions, may refuse the prefix and take the bare name. The
// mutex is never closed: it lasts as long as this setup. A mutex of that
// name that this user may not open is another user's setup. The last error
// is cleared first: a create that makes the mutex need not clear it.
static bool AnotherSetupRuns() {
  static const char kName[] = "Global\\NorvuSetup";
  const char* name = AdministratorsName(kName + 7);
  SetLastError(0);
  if (CreateMutexA(nullptr, FALSE, name != nullptr ? name : kName) == nullptr && GetLastError() != ERROR_ACCESS_DENIED) {
    SetLastError(0);
    CreateMutexA(nullptr, FALSE, kName + 7);  // the name without "Global\"
  }
  DWORD error = GetLastError();
  return error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  Instance = instance;
  if (AnotherSetupRuns()) {
    MessageBoxA(nullptr, "Setup is already running.", kSetupCaption, MB_OK | MB_ICONINFORMATION);
    return 0;
  }
  if (!SystemLibrariesLoaded()) return 0;
  // Registers the list-view class that the browse dialogs use.
  InitCommonControlsCall();
  MainWindow = CreateBackdropWindow();
  if (MainWindow == nullptr) return 0;
  // The first paint draws the title into the image before the pages start.
  UpdateWindow(MainWindow);
  // The resources hold no accelerator table: no key becomes a command.
  HACCEL accelerators = LoadAcceleratorsA(Instance, AppName);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0)) {
    if (!TranslateAcceleratorA(msg.hwnd, accelerators, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return (int)msg.wParam;
}
