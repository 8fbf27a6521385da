#include <cstring>
#include <vector>

#include "device/device_open.h"
#include "device/led_escape.h"
#include "engine/engine_state.h"
#include "engine/force_tick.h"
#include "host/dinput/call_log.h"
#include "host/dinput/fault_injection.h"
#include "support/call_log_view.h"
#include "support/program_fixture.h"

namespace {

class LedEscapeTest : public ProgramTest {};

LedRequest RequestOf(const host::CallRecord& record) {
  LedRequest request;
  std::memcpy(&request, record.escape.in, sizeof(request));
  return request;
}

TEST_F(LedEscapeTest, WithoutADeviceNothingIsSent) {
  EXPECT_EQ(SendLedEscape(nullptr, 0.5f, 0.0f, 1.0f), E_POINTER);
  EXPECT_EQ(host::CallLogSize(), 0u);
}

TEST_F(LedEscapeTest, SendsTheLedRecordThroughTheDeviceEscape) {
  AttachWheel();
  OpenFirstDevice();
  ForceTick();  // the driver takes escapes from an exclusively acquired device
  size_t start = host::CallLogSize();
  EXPECT_EQ(SendLedEscape(g_pDevice, 0.25f, 0.0f, 1.0f), S_OK);
  std::vector<host::CallRecord> escapes = CallsOf(host::Method::Escape, start);
  ASSERT_EQ(escapes.size(), 1u);
  const host::LoggedEscape& e = escapes[0].escape;
  EXPECT_EQ(e.dwSize, sizeof(DIEFFESCAPE));
  EXPECT_EQ(e.dwCommand, 0u);
  EXPECT_EQ(e.cbInBuffer, 20u);
  EXPECT_EQ(e.cbOutBuffer, 0u);
  ASSERT_EQ(e.inCopied, 20u);
  const uint8_t expected[20] = {20, 0, 0, 0, 1, 0, 0, 0, 0x00, 0x00, 0x80, 0x3E,  // 0.25f
                                0x00, 0x00, 0x00, 0x00,                          // 0.0f
                                0x00, 0x00, 0x80, 0x3F};                         // 1.0f
  EXPECT_EQ(std::memcmp(e.in, expected, sizeof(expected)), 0);
}

TEST_F(LedEscapeTest, TheSweepLastsExactly1600TicksAndRestartsOnASecondPress) {
  AttachWheel();
  OpenFirstDevice();
  ForceTick();  // acquire
  size_t start = host::CallLogSize();
  ledLevel = -0.1f;
  ledSweepActive = true;
  for (int i = 0; i < 2000; ++i) ForceTick();
  std::vector<host::CallRecord> escapes = CallsOf(host::Method::Escape, start);
  ASSERT_EQ(escapes.size(), 1600u);
  float level = -0.1f;
  for (size_t i = 0; i + 1 < escapes.size(); ++i) {
    level += 0.001f;
    ASSERT_EQ(RequestOf(escapes[i]).level, level) << "command " << i;
    ASSERT_EQ(RequestOf(escapes[i]).minLevel, 0.0f);
    ASSERT_EQ(RequestOf(escapes[i]).maxLevel, 1.0f);
  }
  EXPECT_NEAR(RequestOf(escapes[0]).level, -0.099f, 1e-6);
  EXPECT_NEAR(RequestOf(escapes[1598]).level, 1.499f, 1e-3);
  EXPECT_EQ(RequestOf(escapes[1599]).level, -1.0f);
  EXPECT_FALSE(ledSweepActive);

  // A second press during a sweep starts it over from -0.1.
  ledLevel = -0.1f;
  ledSweepActive = true;
  for (int i = 0; i < 500; ++i) ForceTick();
  ledLevel = -0.1f;
  ledSweepActive = true;
  start = host::CallLogSize();
  for (int i = 0; i < 1700; ++i) ForceTick();
  escapes = CallsOf(host::Method::Escape, start);
  ASSERT_EQ(escapes.size(), 1600u);
  EXPECT_NEAR(RequestOf(escapes[0]).level, -0.099f, 1e-6);
}

TEST_F(LedEscapeTest, TheSweepGoesOnWhileTheDeviceIsLost) {
  AttachWheel();
  OpenFirstDevice();
  ASSERT_TRUE(deviceLost);
  ASSERT_TRUE(host::FailNextCalls(host::Method::Acquire, 3, DIERR_OTHERAPPHASPRIO));
  size_t start = host::CallLogSize();
  ledLevel = -0.1f;
  ledSweepActive = true;
  for (int i = 0; i < 3; ++i) ForceTick();
  EXPECT_EQ(CallsOf(host::Method::Escape, start).size(), 3u);
  EXPECT_TRUE(deviceLost);
}

}  // namespace
