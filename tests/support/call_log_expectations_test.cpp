// The table comparison on hand-made records: it must pass an exact log and name each
// spurious call and missing row, with the reason a near miss did not match.
#include "support/call_log_expectations.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace test_support {
namespace {

using host::Method;

host::CallRecord Record(uint64_t sequence, Method method, int32_t effect = host::noEffect, HRESULT result = DI_OK) {
  host::CallRecord record{};
  record.sequence = sequence;
  record.method = method;
  record.iface = host::Interface::Effect;
  record.device = 1;
  record.effect = effect;
  record.result = result;
  return record;
}

host::CallRecord WithBlock(host::CallRecord record, std::vector<uint8_t> bytes) {
  record.effectParams.typeSpecificSize = static_cast<DWORD>(bytes.size());
  record.effectParams.typeSpecificCopied = static_cast<DWORD>(bytes.size());
  std::copy(bytes.begin(), bytes.end(), record.effectParams.typeSpecific);
  return record;
}

std::string Message(const testing::AssertionResult& result) { return result.message(); }

const std::vector<ExpectedCall> table = {
    {.method = Method::SetParameters, .effect = 0, .block = {1, 2, 3, 4}, .comment = "force"},
    {.method = Method::Start, .effect = 0, .comment = "play it"},
    {.method = Method::GetEffectStatus, .effect = 0, .result = DI_OK},
};

TEST(CallLogExpectations, AnExactLogPasses) {
  std::vector<host::CallRecord> log = {WithBlock(Record(1, Method::SetParameters, 0), {1, 2, 3, 4}),
                                       Record(2, Method::Start, 0), Record(3, Method::GetEffectStatus, 0)};
  EXPECT_TRUE(CallsMatch(log, table));
}

TEST(CallLogExpectations, AnExtraCallIsSpurious) {
  std::vector<host::CallRecord> log = {WithBlock(Record(1, Method::SetParameters, 0), {1, 2, 3, 4}),
                                       Record(2, Method::Stop, 0), Record(3, Method::Start, 0),
                                       Record(4, Method::GetEffectStatus, 0)};
  testing::AssertionResult result = CallsMatch(log, table);
  ASSERT_FALSE(result);
  EXPECT_NE(Message(result).find("(1 problem)"), std::string::npos) << Message(result);
  EXPECT_NE(Message(result).find("spurious call 2: IDirectInputEffect::Stop device 1 effect 0"), std::string::npos)
      << Message(result);
}

TEST(CallLogExpectations, AnAbsentCallIsMissingWithItsRow) {
  std::vector<host::CallRecord> log = {WithBlock(Record(1, Method::SetParameters, 0), {1, 2, 3, 4}),
                                       Record(2, Method::GetEffectStatus, 0)};
  testing::AssertionResult result = CallsMatch(log, table);
  ASSERT_FALSE(result);
  EXPECT_NE(Message(result).find("row 2 missing: Start effect 0 \"play it\""), std::string::npos) << Message(result);
}

TEST(CallLogExpectations, ANearMissSaysWhatDiffers) {
  std::vector<host::CallRecord> log = {WithBlock(Record(1, Method::SetParameters, 0), {1, 2, 3, 5}),
                                       Record(2, Method::Start, 0), Record(3, Method::GetEffectStatus, 0, DI_NOEFFECT)};
  std::string message = Message(CallsMatch(log, table));
  EXPECT_NE(message.find("(4 problems)"), std::string::npos) << message;
  EXPECT_NE(message.find("row 1 missing: SetParameters effect 0 \"force\"; call 1 differs: block is 4 bytes 01 02 03 05, "
                         "not 4 bytes 01 02 03 04"),
            std::string::npos)
      << message;
  EXPECT_NE(message.find("row 3 missing"), std::string::npos) << message;
  EXPECT_NE(message.find("result is 0x00000001, not 0x00000000"), std::string::npos) << message;
}

TEST(CallLogExpectations, NothingMayBeLeftOverAtEitherEnd) {
  std::vector<host::CallRecord> tooMany = {WithBlock(Record(1, Method::SetParameters, 0), {1, 2, 3, 4}),
                                           Record(2, Method::Start, 0), Record(3, Method::GetEffectStatus, 0),
                                           Record(4, Method::Unload, 0)};
  EXPECT_NE(Message(CallsMatch(tooMany, table)).find("spurious call 4: IDirectInputEffect::Unload"), std::string::npos);
  EXPECT_NE(Message(CallsMatch({}, table)).find("row 3 missing"), std::string::npos);
  EXPECT_FALSE(CallsMatch({Record(1, Method::Poll)}, {}));
  EXPECT_TRUE(CallsMatch({}, {}));
}

TEST(CallLogExpectations, FiltersDropIgnoredMethodsAndOtherDevices) {
  host::CallRecord otherDevice = Record(3, Method::Stop, 0);
  otherDevice.device = 2;
  std::vector<host::CallRecord> log = {WithBlock(Record(1, Method::SetParameters, 0), {1, 2, 3, 4}),
                                       Record(2, Method::AddRef, 0), otherDevice, Record(4, Method::Start, 0),
                                       Record(5, Method::GetEffectStatus, 0)};
  EXPECT_FALSE(CallsMatch(log, table));
  EXPECT_TRUE(CallsMatch(log, table, CallFilter{.device = 1, .ignored = RefCounting()}));
}

TEST(CallLogExpectations, AnyEffectAndChecksOfChosenFields) {
  host::CallRecord start = Record(1, Method::Start, 3);
  start.iterations = 2;
  EXPECT_TRUE(CallsMatch({start}, {{.method = Method::Start, .check = StartIterations(2)}}));
  std::string message = Message(CallsMatch({start}, {{.method = Method::Start, .check = StartIterations(1)}}));
  EXPECT_NE(message.find("iterations are 2, not 1"), std::string::npos) << message;
  EXPECT_FALSE(CallsMatch({start}, {{.method = Method::Start, .effect = 2}}));
}

}  // namespace
}  // namespace test_support
