// Building blocks of the device report: appending one line to the tree, and the texts the
// report writes the same way everywhere (GUIDs, flag breakdowns, lists, property lines).
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

// Where an enumeration callback adds its lines: the tree and the parent line, handed through
// DirectInput's reference pointer.
struct ReportPlace {
  HWND tree;
  HTREEITEM parent;
};

// Room of every text buffer of the report.
inline constexpr size_t reportTextRoom = 1024;

// Appends a line as the last child of parent (null: the top level), expanded or not. The
// text is formatted into 2048 bytes and cut at 2047 characters. Null when tree is null or
// the insertion failed. Names from the device go in as "%s" arguments, never as the format.
HTREEITEM AddReportItem(HWND tree, HTREEITEM parent, bool expanded, const char* format, ...)
    VANTREL_PRINTF_FORMAT(4, 5);

// The braced upper-case form, written into a cleared buffer of reportTextRoom bytes.
void FormatGuid(const GUID& guid, char (&text)[reportTextRoom]);

struct FlagName {
  const char* name;
  DWORD value;
};
template <size_t N>
constexpr size_t CountOf(const FlagName (&)[N]) {
  return N;
}

// One open leaf under parent per table entry sharing a bit with value, in table order.
void AddFlagLeaves(HWND tree, HTREEITEM parent, DWORD value, const FlagName* table, size_t count);
// A closed line "<label>0x%08x" with one open leaf per table entry sharing a bit with value,
// in table order.
HTREEITEM AddFlagBreakdown(HWND tree, HTREEITEM parent, const char* label, DWORD value, const FlagName* table,
                           size_t count);

// A list built entry by entry, each followed by ", ", the last separator removed at the end.
struct ListText {
  char text[reportTextRoom];
};
void StartList(ListText& list);
void AppendListEntry(ListText& list, const char* entry);
void AppendListNumber(ListText& list, long long value);
const char* FinishList(ListText& list);

// Reads a property of g_pDevice into the structure behind header (size and header size
// set here; object and how as given). False when it could not be read; any failure but
// DIERR_UNSUPPORTED is traced as "GetProperty(<name>) Failed (0x%08x) %s".
// Traces a failing report call as "<call> Failed (0x%08x) <name>"; call carries its parentheses.
void TraceReportFailure(const char* call, HRESULT hr);

bool ReadReportProperty(REFGUID property, const char* name, DIPROPHEADER& header, DWORD size, DWORD object,
                        DWORD how);
