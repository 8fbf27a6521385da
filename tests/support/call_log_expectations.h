// Checks the stand-in's call log against a table of expected calls, in order. A test lists
// the calls it expects (method, effect index, the block's bytes or chosen fields, a comment
// per row), runs an action, and gets one failure that names every problem: a call nobody
// expected is "spurious", an expected row that never came is "missing" (rows count from 1),
// and nothing may be left over at either end.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/dinput/call_log.h"

namespace test_support {

struct ExpectedCall {
  host::Method method;
  int32_t effect = host::anyEffect;  // an index, host::noEffect, or any
  std::optional<HRESULT> result{};
  std::optional<DWORD> flags{};      // CallRecord::flags (see call_log.h for each method)
  std::optional<DWORD> property{};   // Get/SetProperty: the DIPROP_ number
  std::optional<DWORD> data{};       // Get/SetProperty: DIPROPDWORD.dwData
  // CreateEffect / SetParameters: the type-specific block; Escape: the in-buffer. Compared
  // byte for byte, sizes included, when not empty.
  std::vector<uint8_t> block{};
  // Any other fields: answers "" when they are as expected, otherwise what differs.
  std::function<std::string(const host::CallRecord&)> check{};
  const char* comment = "";
};

struct CallFilter {
  host::DeviceId device = host::noDevice;  // only calls on this device (noDevice: every call)
  std::vector<host::Method> ignored{};     // methods left out of the comparison
};

// Reference counting, for tables that are about traffic rather than lifetimes.
std::vector<host::Method> RefCounting();

// Why `record` is not the call `row` expects, or "" when it is.
std::string Mismatch(const ExpectedCall& row, const host::CallRecord& record);
std::string DescribeCall(const host::CallRecord& record);
std::string DescribeRow(const ExpectedCall& row);

testing::AssertionResult CallsMatch(const std::vector<host::CallRecord>& records,
                                    const std::vector<ExpectedCall>& expected, const CallFilter& filter = {});
// Against the log as it stands.
testing::AssertionResult CallLogMatches(const std::vector<ExpectedCall>& expected, const CallFilter& filter = {});
// Clears the log, runs `action`, then compares.
testing::AssertionResult CallsDuring(const std::function<void()>& action, const std::vector<ExpectedCall>& expected,
                                     const CallFilter& filter = {});

template <class T>
std::vector<uint8_t> BytesOf(const T& value) {
  std::vector<uint8_t> bytes(sizeof(T));
  std::memcpy(bytes.data(), &value, sizeof(T));
  return bytes;
}

template <class T>
std::vector<uint8_t> BytesOf(std::initializer_list<T> values) {
  std::vector<uint8_t> bytes;
  for (const T& value : values) {
    std::vector<uint8_t> one = BytesOf(value);
    bytes.insert(bytes.end(), one.begin(), one.end());
  }
  return bytes;
}

// Field checks for ExpectedCall::check.
std::function<std::string(const host::CallRecord&)> EffectGain(DWORD gain);
// cAxes must be the longer list's length; an empty list is not compared (a call with only
// DIEP_DIRECTION carries no axes).
std::function<std::string(const host::CallRecord&)> EffectAxesAndDirections(std::vector<DWORD> axes,
                                                                            std::vector<LONG> directions);
std::function<std::string(const host::CallRecord&)> StartIterations(DWORD iterations);
std::function<std::string(const host::CallRecord&)> EffectGuid(const GUID& guid);

}  // namespace test_support
