#include "app/win_main.h"

#include "diag/debug_trace.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand) {
  (void)instance;
  (void)previousInstance;
  (void)commandLine;
  (void)showCommand;
  DebugTrace("Vantrel starting");
  return 0;
}
