#include "app/win_main.h"

#include <string>

#include "app/control_ids.h"
#include "app/dialog_proc.h"
#include "app/engine_view.h"
#include "app/run_pages.h"
#include "diag/debug_trace.h"
#include "engine/force_tick.h"
#include "engine/process_priority.h"
#include "settings/test_settings.h"

namespace {

// 49 messages at most per pass, so a flooded queue never starves the force tick.
constexpr int messageBudget = 50;

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand) {
  (void)previousInstance;
  (void)commandLine;
  (void)showCommand;

  InitCommonControls();
  SetProcessPriority(HIGH_PRIORITY_CLASS);

  HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_VANTREL), nullptr, DialogProc, 0);
  if (dialog == nullptr) return 1;

  int result = 1;
  MSG message;
  while (result > 0) {
    int budget = messageBudget;
    for (;;) {
      if (--budget == 0) break;
      if (result <= 0) break;
      if (!PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) break;
      result = GetMessageA(&message, nullptr, 0, 0);
      if (result > 0 && !IsDialogMessageA(dialog, &message)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
    }
    ForceTick();
    RenderEngineOutput();
    std::string reason;
    if (!WritePageOfFinishedRun(reason)) DebugTrace("Analysis page not written: %s", reason.c_str());
    if (testSettings.loopSleepMs > 0) Sleep(static_cast<DWORD>(testSettings.loopSleepMs));
  }

  // Closing has destroyed the dialog already; after a GetMessageA error it has not.
  DestroyWindow(dialog);
  return result;
}
