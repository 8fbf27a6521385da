#include "diag/result_code_name.h"

#include <cstdint>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "diag/result_code_table.h"

namespace {

struct NamedCode {
  uint32_t code;
  const char* name;
};

const NamedCode namedCodes[] = {
    {0x00000000u, "S_OK"},
    {0x00000001u, "S_FALSE"},
    {0x12345678u, "Unknown"},
    {0x80004001u, "E_NOTIMPL & DIERR_UNSUPPORTED & DDERR_UNSUPPORTED & DSERR_UNSUPPORTED & DPNERR_UNSUPPORTED"},
    {0x8007000Eu,
     "ERROR_OUTOFMEMORY & DNS_ERROR_NO_MEMORY & E_OUTOFMEMORY & DIERR_OUTOFMEMORY & DDERR_OUTOFMEMORY & "
     "DSERR_OUTOFMEMORY & DPNERR_OUTOFMEMORY"},
    {14u,
     "ERROR_OUTOFMEMORY & DNS_ERROR_NO_MEMORY & E_OUTOFMEMORY & DIERR_OUTOFMEMORY & DDERR_OUTOFMEMORY & "
     "DSERR_OUTOFMEMORY & DPNERR_OUTOFMEMORY"},
    {0x80040306u, "Unknown"},
    {0x80004005u, "E_FAIL & DIERR_GENERIC & DDERR_GENERIC & DSERR_GENERIC & DPNERR_GENERIC"},
    // Names a header defines as another one's are joined with it, in both Win32 forms.
    {0x80070005u,
     "ERROR_ACCESS_DENIED & E_ACCESSDENIED & DIERR_OTHERAPPHASPRIO & DIERR_READONLY & DIERR_HANDLEEXISTS & "
     "DSERR_ACCESSDENIED"},
    {5u,
     "ERROR_ACCESS_DENIED & E_ACCESSDENIED & DIERR_OTHERAPPHASPRIO & DIERR_READONLY & DIERR_HANDLEEXISTS & "
     "DSERR_ACCESSDENIED"},
    {0x80070057u,
     "ERROR_INVALID_PARAMETER & E_INVALIDARG & DIERR_INVALIDPARAM & DDERR_INVALIDPARAMS & DSERR_INVALIDPARAM & "
     "DPNERR_INVALIDPARAM"},
    {0x80040200u, "DIERR_INSUFFICIENTPRIVS & VFW_E_INVALIDMEDIATYPE"},
    {170u, "ERROR_BUSY & DIERR_ACQUIRED"},
    {0x800700AAu, "ERROR_BUSY & DIERR_ACQUIRED"},
    {1460u, "ERROR_TIMEOUT"},
    {0x800705B4u, "ERROR_TIMEOUT"},
    {0x80040300u, "DIERR_DRIVERFIRST"},
    {0x80040301u, "DIERR_DRIVERFIRST+1"},
    {0x80040302u, "DIERR_DRIVERFIRST+2"},
    {0x80040303u, "DIERR_DRIVERFIRST+3"},
    {0x80040304u, "DIERR_DRIVERFIRST+4"},
    {0x80040305u, "DIERR_DRIVERFIRST+5"},
    {0x800403FFu, "DIERR_DRIVERLAST"},
    {0xFFFFFFFFu, "Unknown"},
};

TEST(ResultCodeName, NamesTheCodesTheHeadersDefine) {
  for (const NamedCode& c : namedCodes) {
    EXPECT_STREQ(ResultCodeName(static_cast<HRESULT>(c.code)), c.name) << std::hex << "code 0x" << c.code;
  }
}

TEST(ResultCodeName, TheNotReadyCodeCarriesBothItsNames) {
  // ERROR_NOT_READY (21) is shared with DirectInput's "not initialised" result.
  EXPECT_STREQ(ResultCodeName(21), "ERROR_NOT_READY & DIERR_NOTINITIALIZED");
  EXPECT_STREQ(ResultCodeName(static_cast<HRESULT>(0x80070015u)), "ERROR_NOT_READY & DIERR_NOTINITIALIZED");
}

TEST(ResultCodeTable, IsSortedUniqueAndNeverNull) {
  ASSERT_GT(resultCodeCount, 3000u);
  for (size_t i = 0; i < resultCodeCount; ++i) {
    ASSERT_NE(resultCodeTable[i].name, nullptr) << "entry " << i;
    ASSERT_GT(std::strlen(resultCodeTable[i].name), 0u) << "entry " << i;
    if (i > 0) {
      ASSERT_LT(resultCodeTable[i - 1].code, resultCodeTable[i].code) << "entry " << i;
    }
    // The lookup must find every entry by its own code.
    ASSERT_STREQ(ResultCodeName(static_cast<HRESULT>(resultCodeTable[i].code)), resultCodeTable[i].name);
  }
}

bool NamesAWin32Error(const char* text) {
  std::string names = text;
  return names.rfind("ERROR_", 0) == 0 || names.find(" & ERROR_") != std::string::npos;
}

TEST(ResultCodeTable, EveryWin32ErrorIsNamedInBothForms) {
  int checked = 0;
  for (size_t i = 0; i < resultCodeCount; ++i) {
    uint32_t code = resultCodeTable[i].code;
    const char* text = resultCodeTable[i].name;
    if (!NamesAWin32Error(text)) continue;
    uint32_t bare = code & 0xFFFFu;
    // 0 and 1 are S_OK and S_FALSE in their bare form.
    if (bare <= 1) continue;
    if (code <= 0xFFFFu) {
      EXPECT_STREQ(ResultCodeName(static_cast<HRESULT>(0x80070000u | bare)), text) << "bare " << bare;
      ++checked;
    } else if ((code & 0xFFFF0000u) == 0x80070000u) {
      EXPECT_STREQ(ResultCodeName(static_cast<HRESULT>(bare)), text) << std::hex << "code 0x" << code;
      ++checked;
    }
  }
  // Well over a thousand Win32 errors exist; a near-empty walk would prove nothing.
  EXPECT_GT(checked, 2000);
}

}  // namespace
