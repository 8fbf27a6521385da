#include "report/report_tree.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "device/device_open.h"
#include "diag/debug_trace.h"
#include "diag/result_code_name.h"

namespace {

constexpr size_t itemTextRoom = 2048;

}  // namespace

HTREEITEM AddReportItem(HWND tree, HTREEITEM parent, bool expanded, const char* format, ...) {
  if (tree == nullptr) return nullptr;
  char text[itemTextRoom];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof(text), format, arguments);
  va_end(arguments);
  text[sizeof(text) - 1] = '\0';

  TVINSERTSTRUCTA insert;
  std::memset(&insert, 0, sizeof(insert));
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_STATE;
  insert.item.state = expanded ? TVIS_EXPANDED : 0;
  insert.item.stateMask = TVIS_EXPANDED;
  insert.item.pszText = text;
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

void FormatGuid(const GUID& guid, char (&text)[reportTextRoom]) {
  std::memset(text, 0, sizeof(text));
  std::snprintf(text, sizeof(text), "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1],
                guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
}

void AddFlagLeaves(HWND tree, HTREEITEM parent, DWORD value, const FlagName* table, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    if ((table[i].value & value) != 0) AddReportItem(tree, parent, true, "%s", table[i].name);
  }
}

HTREEITEM AddFlagBreakdown(HWND tree, HTREEITEM parent, const char* label, DWORD value, const FlagName* table,
                           size_t count) {
  HTREEITEM line = AddReportItem(tree, parent, false, "%s0x%08x", label, static_cast<unsigned>(value));
  AddFlagLeaves(tree, line, value, table, count);
  return line;
}

void StartList(ListText& list) { std::memset(list.text, 0, sizeof(list.text)); }

void AppendListEntry(ListText& list, const char* entry) {
  size_t length = std::strlen(list.text);
  std::snprintf(list.text + length, sizeof(list.text) - length, "%s, ", entry);
}

void AppendListNumber(ListText& list, long long value) {
  char number[32];
  std::snprintf(number, sizeof(number), "%lld", value);
  AppendListEntry(list, number);
}

const char* FinishList(ListText& list) {
  size_t length = std::strlen(list.text);
  if (length > 1) list.text[length - 2] = '\0';
  return list.text;
}

void TraceReportFailure(const char* call, HRESULT hr) {
  DebugTrace("%s Failed (0x%08x) %s", call, static_cast<unsigned>(hr), ResultCodeName(hr));
}

bool ReadReportProperty(REFGUID property, const char* name, DIPROPHEADER& header, DWORD size, DWORD object,
                        DWORD how) {
  header.dwSize = size;
  header.dwHeaderSize = sizeof(DIPROPHEADER);
  header.dwObj = object;
  header.dwHow = how;
  HRESULT hr = g_pDevice->GetProperty(property, &header);
  if (SUCCEEDED(hr)) return true;
  if (hr != DIERR_UNSUPPORTED) {
    DebugTrace("GetProperty(%s) Failed (0x%08x) %s", name, static_cast<unsigned>(hr), ResultCodeName(hr));
  }
  return false;
}
