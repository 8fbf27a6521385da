// COM basics for the host build: GUIDs, IUnknown and the COM result codes DirectInput
// reuses, under the names the Windows SDK gives them.
#pragma once

#include <cstring>

#include "host/win32_base.h"

// On Windows a GUID has 4-byte alignment. Here it is packed to alignment 1: DirectInput's
// predefined property "GUIDs" are small integers (1, 2, 19, ...) cast to a GUID reference,
// and binding such a reference would trip the alignment sanitizer of the host-asan build.
// Every structure that embeds a GUID keeps the offsets and size it has on 64-bit Windows.
struct __attribute__((packed)) GUID {
  DWORD Data1;
  WORD Data2;
  WORD Data3;
  BYTE Data4[8];
};
static_assert(sizeof(GUID) == 16);

typedef GUID IID;
typedef GUID CLSID;
typedef GUID* LPGUID;
typedef const GUID* LPCGUID;
typedef IID* LPIID;
typedef const GUID& REFGUID;
typedef const IID& REFIID;
typedef const CLSID& REFCLSID;

inline bool IsEqualGUID(REFGUID a, REFGUID b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }
#define IsEqualIID(a, b) IsEqualGUID((a), (b))
#define IsEqualCLSID(a, b) IsEqualGUID((a), (b))
inline bool operator==(REFGUID a, REFGUID b) { return IsEqualGUID(a, b); }
inline bool operator!=(REFGUID a, REFGUID b) { return !IsEqualGUID(a, b); }

extern const GUID GUID_NULL;
extern const IID IID_IUnknown;

// x64 has one calling convention, so these are empty there as well.
#define STDMETHODCALLTYPE
#define STDAPI extern "C" HRESULT STDAPICALLTYPE
#define STDAPICALLTYPE
#define STDMETHODIMP HRESULT STDMETHODCALLTYPE
#define STDMETHODIMP_(type) type STDMETHODCALLTYPE

#define SEVERITY_SUCCESS 0
#define SEVERITY_ERROR 1
#define FACILITY_ITF 4
#define FACILITY_WIN32 7
#define MAKE_HRESULT(severity, facility, code) \
  ((HRESULT)(((uint32_t)(severity) << 31) | ((uint32_t)(facility) << 16) | ((uint32_t)(code))))

#define E_PENDING ((HRESULT)0x8000000AL)
#define E_ACCESSDENIED ((HRESULT)0x80070005L)
#define CLASS_E_NOAGGREGATION ((HRESULT)0x80040110L)
#define REGDB_E_CLASSNOTREG ((HRESULT)0x80040154L)

struct IUnknown {
  virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) = 0;
  virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
  virtual ULONG STDMETHODCALLTYPE Release() = 0;

 protected:
  ~IUnknown() = default;  // objects are deleted by their own Release
};
typedef IUnknown* LPUNKNOWN;
