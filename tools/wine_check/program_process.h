// The program under test: one vantrel.exe process started by the checker, and its dialog.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

constexpr char programCaption[] = "Sorvane Force Feedback Test 1.70";
// Wine starts its desktop process with the first window of a prefix: allow for a slow first start.
constexpr DWORD windowWaitMs = 30000;
// The close box and Escape must end the program. Under Wine a program ends some two seconds
// after its window closes (Wine shuts its DirectInput threads and HID devices down first), and
// more on a loaded two-core machine: one that has not ended by this long would hang for good.
constexpr DWORD exitWaitMs = 20000;

// The visible top-level window with the program's caption, of the given process (0: any process).
HWND FindProgramWindow(DWORD processId);

class ProgramProcess {
 public:
  ProgramProcess() = default;
  ProgramProcess(const ProgramProcess&) = delete;
  ProgramProcess& operator=(const ProgramProcess&) = delete;
  // A run that failed half-way must not leave the program behind.
  ~ProgramProcess();

  bool Start(const std::string& exePath, std::string* error);
  // The program's dialog once it is visible, or nullptr (with the reason) when it does not come.
  HWND WaitForWindow(std::string* error);
  // The exit code once the program has ended, or nothing if it still runs after the wait.
  std::optional<DWORD> WaitForExit(DWORD timeoutMs);

  DWORD processId() const { return processId_; }

 private:
  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
};
