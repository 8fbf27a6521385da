#include "program_process.h"

#include <cstring>
#include <vector>

#include "remote_window.h"

namespace {

struct WindowSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK MatchProgramWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<WindowSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (search->processId != 0 && owner != search->processId) return TRUE;
  char caption[128] = {};
  GetWindowTextA(window, caption, sizeof(caption));
  if (std::strcmp(caption, programCaption) != 0 || !IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

std::string DirectoryOf(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

}  // namespace

HWND FindProgramWindow(DWORD processId) {
  WindowSearch search = {processId, nullptr};
  EnumWindows(MatchProgramWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

ProgramProcess::~ProgramProcess() {
  if (process_ == nullptr) return;
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, exitWaitMs);
  }
  CloseHandle(process_);
}

bool ProgramProcess::Start(const std::string& exePath, std::string* error) {
  // The program takes no arguments; its folder is the working directory, as from Explorer.
  std::string commandLine = "\"" + exePath + "\"";
  std::vector<char> mutableCommandLine(commandLine.begin(), commandLine.end());
  mutableCommandLine.push_back('\0');
  std::string directory = DirectoryOf(exePath);
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(exePath.c_str(), mutableCommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      directory.c_str(), &startup, &info)) {
    *error = "CreateProcessA(" + exePath + ") failed with error " + std::to_string(GetLastError());
    return false;
  }
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  processId_ = info.dwProcessId;
  return true;
}

HWND ProgramProcess::WaitForWindow(std::string* error) {
  HWND window = nullptr;
  std::optional<DWORD> exitCode;
  remote::WaitUntil(
      [&] {
        window = FindProgramWindow(processId_);
        if (window != nullptr) return true;
        exitCode = WaitForExit(0);
        return exitCode.has_value();
      },
      windowWaitMs);
  if (window != nullptr) {
    // The dialog is shown at the end of its WM_INITDIALOG; let the first messages be handled.
    remote::Settle(window);
    return window;
  }
  if (exitCode) {
    *error = "the program ended with exit code " + std::to_string(*exitCode) + " before showing its window";
  } else {
    *error = "no visible window captioned \"" + std::string(programCaption) + "\" within " +
             std::to_string(windowWaitMs / 1000) + " s";
  }
  return nullptr;
}

std::optional<DWORD> ProgramProcess::WaitForExit(DWORD timeoutMs) {
  if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  if (!GetExitCodeProcess(process_, &code)) return std::nullopt;
  return code;
}
