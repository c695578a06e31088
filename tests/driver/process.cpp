#include <utility>

#include "driver/ui_driver.h"

namespace ui {

std::string WindowsPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string result = "Z:" + path;
  for (char& c : result)
    if (c == '/') c = '\\';
  return result;
}

void TimedOut(const std::string& what, DWORD timeout) {
  char seconds[32];
  wsprintfA(seconds, "%lu.%lu", timeout / 1000, (timeout % 1000) / 100);
  throw Failure("timed out after " + std::string(seconds) + " s waiting for " + what);
}

void Pause(DWORD milliseconds) { Sleep(milliseconds); }

Process Process::Start(const std::string& program, const std::string& currentDir, const std::string& arguments) {
  std::string file = WindowsPath(program);
  if (GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES)
    throw Failure("cannot start " + file + ": no such file");
  std::string dir = WindowsPath(currentDir);
  std::string commandLine = "\"" + file + "\"";
  if (!arguments.empty()) commandLine += " " + arguments;

  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(file.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                      dir.empty() ? nullptr : dir.c_str(), &startup, &info)) {
    throw Failure("cannot start " + file + (dir.empty() ? "" : " in " + dir) + ": error " +
                  std::to_string(GetLastError()));
  }
  CloseHandle(info.hThread);
  Process p;
  p.handle_ = info.hProcess;
  p.id_ = info.dwProcessId;
  size_t slash = file.find_last_of("\\/");
  p.name_ = slash == std::string::npos ? file : file.substr(slash + 1);
  return p;
}

Process::Process(Process&& other) noexcept { *this = std::move(other); }

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    Terminate();
    if (handle_) CloseHandle(handle_);
    handle_ = std::exchange(other.handle_, nullptr);
    id_ = std::exchange(other.id_, 0);
    name_ = std::move(other.name_);
  }
  return *this;
}

Process::~Process() {
  Terminate();
  if (handle_) CloseHandle(handle_);
}

bool Process::Running() const { return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT; }

DWORD Process::WaitExit(DWORD timeout) const {
  if (!handle_) throw Failure("no process to wait for");
  if (WaitForSingleObject(handle_, timeout) != WAIT_OBJECT_0)
    TimedOut(name_ + " (process " + std::to_string(id_) + ") to end", timeout);
  DWORD code = 0;
  GetExitCodeProcess(handle_, &code);
  return code;
}

void Process::Detach() {
  if (handle_) CloseHandle(handle_);
  handle_ = nullptr;
}

Process Process::Attach(DWORD id) {
  Process p;
  p.handle_ = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, id);
  if (!p.handle_) throw Failure("no process " + std::to_string(id));
  p.id_ = id;
  p.name_ = "process";
  return p;
}

void Process::Terminate() {
  if (!Running()) return;
  TerminateProcess(handle_, 0xDEAD);
  WaitForSingleObject(handle_, 10000);
}

}  // namespace ui
