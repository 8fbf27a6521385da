#include "app/program_exit.h"

bool programEnding = false;

void EndProgram(HWND dialog) {
  programEnding = true;
  if (dialog != nullptr) DestroyWindow(dialog);
}
