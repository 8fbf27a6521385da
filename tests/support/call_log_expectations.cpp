#include "support/call_log_expectations.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <utility>

namespace test_support {
namespace {

std::string Hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof(text), "0x%08" PRIX32, value);
  return text;
}

std::string BytesText(const uint8_t* bytes, size_t count, size_t total) {
  std::string text = std::to_string(total) + " bytes";
  for (size_t i = 0; i < count; ++i) {
    char byte[4];
    std::snprintf(byte, sizeof(byte), " %02x", bytes[i]);
    text += byte;
  }
  if (count < total) text += " ...";
  return text;
}

bool UsesEscapeBlock(host::Method method) { return method == host::Method::Escape; }

// The block a record carries: the type-specific bytes or the escape in-buffer.
void RecordBlock(const host::CallRecord& record, const uint8_t** bytes, size_t* copied, size_t* total) {
  if (UsesEscapeBlock(record.method)) {
    *bytes = record.escape.in;
    *copied = record.escape.inCopied;
    *total = record.escape.cbInBuffer;
  } else {
    *bytes = record.effectParams.typeSpecific;
    *copied = record.effectParams.typeSpecificCopied;
    *total = record.effectParams.typeSpecificSize;
  }
}

std::string EffectText(int32_t effect) {
  if (effect == host::noEffect) return "";
  if (effect == host::anyEffect) return " effect any";
  return " effect " + std::to_string(effect);
}

bool Passes(const host::CallRecord& record, const CallFilter& filter) {
  if (filter.device != host::noDevice && record.device != filter.device) return false;
  return std::find(filter.ignored.begin(), filter.ignored.end(), record.method) == filter.ignored.end();
}

}  // namespace

std::vector<host::Method> RefCounting() {
  return {host::Method::QueryInterface, host::Method::AddRef, host::Method::Release};
}

std::string DescribeCall(const host::CallRecord& record) {
  std::string text = host::MethodName(record.method);
  if (record.iface != host::Interface::None) text = std::string(host::InterfaceName(record.iface)) + "::" + text;
  if (record.device != host::noDevice) text += " device " + std::to_string(record.device);
  text += EffectText(record.effect);
  text += " result " + Hex(static_cast<uint32_t>(record.result));
  if (record.injected) text += " (injected)";
  text += " flags " + Hex(record.flags);
  if (record.method == host::Method::GetProperty || record.method == host::Method::SetProperty) {
    text += " property " + std::to_string(record.property.property) + " data " + std::to_string(record.property.data);
  }
  if (record.method == host::Method::Start) text += " iterations " + std::to_string(record.iterations);
  const uint8_t* bytes;
  size_t copied;
  size_t total;
  RecordBlock(record, &bytes, &copied, &total);
  if (total > 0) text += " block " + BytesText(bytes, copied, total);
  return text;
}

std::string DescribeRow(const ExpectedCall& row) {
  std::string text = host::MethodName(row.method);
  text += EffectText(row.effect);
  if (row.comment != nullptr && row.comment[0] != '\0') text += " \"" + std::string(row.comment) + "\"";
  return text;
}

std::string Mismatch(const ExpectedCall& row, const host::CallRecord& record) {
  if (record.method != row.method) {
    return std::string("method is ") + host::MethodName(record.method) + ", not " + host::MethodName(row.method);
  }
  if (row.effect != host::anyEffect && record.effect != row.effect) {
    return "effect is " + std::to_string(record.effect) + ", not " + std::to_string(row.effect);
  }
  if (row.result && record.result != *row.result) {
    return "result is " + Hex(static_cast<uint32_t>(record.result)) + ", not " +
           Hex(static_cast<uint32_t>(*row.result));
  }
  if (row.flags && record.flags != *row.flags) return "flags are " + Hex(record.flags) + ", not " + Hex(*row.flags);
  if (row.property && record.property.property != *row.property) {
    return "property is " + std::to_string(record.property.property) + ", not " + std::to_string(*row.property);
  }
  if (row.data && record.property.data != *row.data) {
    return "property data is " + std::to_string(record.property.data) + ", not " + std::to_string(*row.data);
  }
  if (!row.block.empty()) {
    const uint8_t* bytes;
    size_t copied;
    size_t total;
    RecordBlock(record, &bytes, &copied, &total);
    bool same = total == row.block.size() && copied == total && std::equal(row.block.begin(), row.block.end(), bytes);
    if (!same) {
      return "block is " + BytesText(bytes, copied, total) + ", not " +
             BytesText(row.block.data(), row.block.size(), row.block.size());
    }
  }
  if (row.check) return row.check(record);
  return "";
}

testing::AssertionResult CallsMatch(const std::vector<host::CallRecord>& records,
                                    const std::vector<ExpectedCall>& expected, const CallFilter& filter) {
  std::vector<const host::CallRecord*> actual;
  for (const host::CallRecord& record : records) {
    if (Passes(record, filter)) actual.push_back(&record);
  }
  size_t m = actual.size();
  size_t n = expected.size();
  std::vector<char> matches(m * n, 0);
  for (size_t i = 0; i < m; ++i) {
    for (size_t j = 0; j < n; ++j) {
      matches[i * n + j] = actual[i]->method == expected[j].method && Mismatch(expected[j], *actual[i]).empty();
    }
  }
  // Longest common subsequence: the fewest spurious and missing calls that explain the log.
  std::vector<uint32_t> lcs((m + 1) * (n + 1), 0);
  auto at = [&](size_t i, size_t j) -> uint32_t& { return lcs[i * (n + 1) + j]; };
  for (size_t i = m; i-- > 0;) {
    for (size_t j = n; j-- > 0;) {
      at(i, j) = matches[i * n + j] ? at(i + 1, j + 1) + 1 : std::max(at(i + 1, j), at(i, j + 1));
    }
  }

  struct Event {
    bool spurious;
    size_t index;  // into actual (spurious) or expected (missing)
  };
  std::vector<std::string> problems;
  std::vector<Event> gap;
  auto closeGap = [&]() {
    for (const Event& event : gap) {
      if (event.spurious) {
        problems.push_back("spurious call " + std::to_string(actual[event.index]->sequence) + ": " +
                           DescribeCall(*actual[event.index]));
        continue;
      }
      const ExpectedCall& row = expected[event.index];
      std::string text = "row " + std::to_string(event.index + 1) + " missing: " + DescribeRow(row);
      // The nearest call of the same method in the same stretch says what was different.
      for (const Event& other : gap) {
        if (other.spurious && actual[other.index]->method == row.method) {
          text += "; call " + std::to_string(actual[other.index]->sequence) + " differs: " +
                  Mismatch(row, *actual[other.index]);
          break;
        }
      }
      problems.push_back(text);
    }
    gap.clear();
  };
  size_t i = 0;
  size_t j = 0;
  while (i < m || j < n) {
    if (i < m && j < n && matches[i * n + j] && at(i, j) == at(i + 1, j + 1) + 1) {
      closeGap();
      ++i;
      ++j;
    } else if (i < m && (j == n || at(i + 1, j) >= at(i, j + 1))) {
      gap.push_back(Event{true, i++});
    } else {
      gap.push_back(Event{false, j++});
    }
  }
  closeGap();

  if (problems.empty()) return testing::AssertionSuccess();
  testing::AssertionResult failure = testing::AssertionFailure();
  failure << "the call log does not match the table (" << problems.size() << " problem"
          << (problems.size() == 1 ? "" : "s") << "):";
  for (const std::string& problem : problems) failure << "\n  " << problem;
  return failure;
}

testing::AssertionResult CallLogMatches(const std::vector<ExpectedCall>& expected, const CallFilter& filter) {
  return CallsMatch(host::CallLogRecords(), expected, filter);
}

testing::AssertionResult CallsDuring(const std::function<void()>& action, const std::vector<ExpectedCall>& expected,
                                     const CallFilter& filter) {
  host::ClearCallLog();
  action();
  return CallLogMatches(expected, filter);
}

std::function<std::string(const host::CallRecord&)> EffectGain(DWORD gain) {
  return [gain](const host::CallRecord& record) -> std::string {
    if (record.effectParams.dwGain == gain) return "";
    return "gain is " + std::to_string(record.effectParams.dwGain) + ", not " + std::to_string(gain);
  };
}

std::function<std::string(const host::CallRecord&)> EffectAxesAndDirections(std::vector<DWORD> axes,
                                                                            std::vector<LONG> directions) {
  return [axes = std::move(axes), directions = std::move(directions)](const host::CallRecord& record) -> std::string {
    const host::LoggedEffect& e = record.effectParams;
    size_t count = std::max(axes.size(), directions.size());
    if (e.cAxes != count) return "cAxes is " + std::to_string(e.cAxes) + ", not " + std::to_string(count);
    for (size_t i = 0; i < axes.size() && i < host::loggedAxesRoom; ++i) {
      if (e.axes[i] != axes[i]) return "axis " + std::to_string(i) + " is " + std::to_string(e.axes[i]);
    }
    for (size_t i = 0; i < directions.size() && i < host::loggedAxesRoom; ++i) {
      if (e.directions[i] != directions[i]) {
        return "direction " + std::to_string(i) + " is " + std::to_string(e.directions[i]) + ", not " +
               std::to_string(directions[i]);
      }
    }
    return "";
  };
}

std::function<std::string(const host::CallRecord&)> StartIterations(DWORD iterations) {
  return [iterations](const host::CallRecord& record) -> std::string {
    if (record.iterations == iterations) return "";
    return "iterations are " + std::to_string(record.iterations) + ", not " + std::to_string(iterations);
  };
}

std::function<std::string(const host::CallRecord&)> EffectGuid(const GUID& guid) {
  return [guid](const host::CallRecord& record) -> std::string {
    if (IsEqualGUID(record.guid, guid)) return "";
    return "effect GUID is " + Hex(record.guid.Data1) + "-..., not " + Hex(guid.Data1) + "-...";
  };
}

}  // namespace test_support
