#include "engine/process_priority.h"

#include "diag/debug_trace.h"
#include "diag/result_code_name.h"

void SetProcessPriority(DWORD priorityClass) {
  if (SetPriorityClass(GetCurrentProcess(), priorityClass)) return;
  DWORD error = GetLastError();
  DebugTrace("SetPriorityClass() Failed (0x%08x) %s", static_cast<unsigned>(error),
             ResultCodeName(static_cast<HRESULT>(error)));
}
