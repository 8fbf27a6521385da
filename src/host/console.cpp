#include "host/console.h"

#include <csignal>

namespace {

constexpr int handlerRoom = 8;
PHANDLER_ROUTINE handlers[handlerRoom];
int handlerCount = 0;
bool ignoreCtrlC = false;

void OnInterrupt(int) {
  if (ignoreCtrlC) return;
  if (!host::DeliverConsoleControl(CTRL_C_EVENT)) {
    std::signal(SIGINT, SIG_DFL);
    std::raise(SIGINT);
  }
}

void InstallSignalHandler() {
  bool wanted = handlerCount > 0 || ignoreCtrlC;
  std::signal(SIGINT, wanted ? OnInterrupt : SIG_DFL);
}

}  // namespace

BOOL WINAPI SetConsoleCtrlHandler(PHANDLER_ROUTINE handler, BOOL add) {
  if (handler == nullptr) {
    ignoreCtrlC = add != FALSE;
  } else if (add) {
    if (handlerCount == handlerRoom) return FALSE;
    handlers[handlerCount++] = handler;
  } else {
    int found = -1;
    for (int i = handlerCount - 1; i >= 0 && found < 0; --i) {
      if (handlers[i] == handler) found = i;
    }
    if (found < 0) return FALSE;
    for (int i = found; i + 1 < handlerCount; ++i) handlers[i] = handlers[i + 1];
    --handlerCount;
  }
  InstallSignalHandler();
  return TRUE;
}

namespace host {

bool DeliverConsoleControl(DWORD ctrlType) {
  for (int i = handlerCount - 1; i >= 0; --i) {
    if (handlers[i](ctrlType)) return true;
  }
  return false;
}

void ResetConsoleHandlers() {
  handlerCount = 0;
  ignoreCtrlC = false;
  std::signal(SIGINT, SIG_DFL);
}

}  // namespace host
