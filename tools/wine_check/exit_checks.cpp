#include "exit_checks.h"

#include <optional>
#include <string>

#include "app/control_ids.h"
#include "remote_window.h"

namespace {

void CheckEnded(CheckLog& log, ProgramProcess& program, const std::string& how) {
  std::optional<DWORD> exitCode = program.WaitForExit(exitWaitMs);
  if (!log.Expect(exitCode.has_value(), "the program ends after " + how,
                  "still running " + std::to_string(exitWaitMs / 1000) + " s later")) {
    return;
  }
  log.ExpectNumber("exit code after " + how, 0, *exitCode);
}

}  // namespace

void CheckCloseBox(CheckLog& log, ProgramProcess& program, HWND dialog) {
  // The close box and Alt+F4 both reach the dialog as WM_CLOSE.
  log.Expect(PostMessageA(dialog, WM_CLOSE, 0, 0) != FALSE, "WM_CLOSE posted to the dialog");
  CheckEnded(log, program, "WM_CLOSE");
}

void CheckEscape(CheckLog& log, ProgramProcess& program, HWND dialog) {
  HWND box = GetDlgItem(dialog, IDC_KP);
  remote::Send(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(box), TRUE);
  DWORD thread = GetWindowThreadProcessId(dialog, nullptr);
  bool focused = remote::WaitUntil([&] { return remote::FocusedWindow(thread) == box; }, exitWaitMs);
  if (!log.Expect(focused, "focus reaches edit 1017 before Escape")) return;
  log.Expect(remote::PressKey(box, VK_ESCAPE), "Escape posted to the focused edit 1017");
  CheckEnded(log, program, "Escape");
}
