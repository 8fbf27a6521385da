// The thread's last-error code, which failing Win32 calls set and GetLastError reads.
#pragma once

#include "host/win32_base.h"

#define ERROR_SUCCESS 0
#define ERROR_INVALID_HANDLE 6
#define ERROR_INVALID_DATA 13
#define ERROR_INVALID_PARAMETER 87
#define ERROR_INVALID_WINDOW_HANDLE 1400
#define ERROR_CANNOT_FIND_WND_CLASS 1407
#define ERROR_RESOURCE_DATA_NOT_FOUND 1812
#define ERROR_RESOURCE_NAME_NOT_FOUND 1814
#define ERROR_NOT_ENOUGH_QUOTA 1816

DWORD WINAPI GetLastError();
void WINAPI SetLastError(DWORD error);
