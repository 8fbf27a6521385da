#include "diag/debug_trace.h"

#include <string>

#include <gtest/gtest.h>

#include "host/debug_output.h"

namespace {

class DebugTraceTest : public testing::Test {
 protected:
  void SetUp() override { host::ClearDebugOutput(); }
};

TEST_F(DebugTraceTest, WritesTheMessageThenALineEndAsTwoCalls) {
  DebugTrace("g_pDevice->Poll() Failed (0x%08x) %s", 0x8007001Eu, "ERROR_READ_FAULT");
  ASSERT_EQ(host::DebugOutputCallCount(), 2u);
  EXPECT_EQ(host::DebugOutputCall(0), "g_pDevice->Poll() Failed (0x8007001e) ERROR_READ_FAULT");
  EXPECT_EQ(host::DebugOutputCall(1), "\n");
}

TEST_F(DebugTraceTest, CutsALongMessageToItsFirst2047Characters) {
  std::string message;
  for (int i = 0; i < 5000; ++i) message += static_cast<char>('a' + i % 26);
  DebugTrace("%s", message.c_str());
  ASSERT_EQ(host::DebugOutputCallCount(), 2u);
  EXPECT_EQ(host::DebugOutputCall(0), message.substr(0, 2047));
  EXPECT_EQ(host::DebugOutputCall(1), "\n");
}

TEST_F(DebugTraceTest, AMessageOfExactly2047CharactersIsKeptWhole) {
  std::string message(2047, 'x');
  message.back() = 'y';
  DebugTrace("%s", message.c_str());
  ASSERT_EQ(host::DebugOutputCallCount(), 2u);
  EXPECT_EQ(host::DebugOutputCall(0), message);
}

}  // namespace
