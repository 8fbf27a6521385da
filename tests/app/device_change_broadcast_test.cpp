// Device-change broadcasts that are not about a HID device interface reach every top-level
// window: a changed device tree (no record at all), a volume or a port. The program must let
// them pass: no re-enumeration, no reopened device, no report rebuild, no restarted test.
#include <ostream>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "engine/engine_state.h"
#include "host/dinput/call_log.h"
#include "host/driver/user_driver.h"
#include "host/window/device_notification.h"
#include "support/call_log_view.h"
#include "support/case_name.h"
#include "support/measurement_fixture.h"

namespace {

namespace driver = host::driver;

constexpr int stepTestMode = 11;
// A whole default step-test log: the header and 300 + 3 x 301 + 800 rows.
constexpr size_t wholeStepLogLines = 2004;

struct BroadcastCase {
  const char* what;
  UINT event;
  DWORD deviceType;  // of the record; none goes with DBT_DEVNODES_CHANGED
};

void PrintTo(const BroadcastCase& c, std::ostream* out) { *out << c.what; }

class ForeignDeviceChangeTest : public MeasurementTest, public testing::WithParamInterface<BroadcastCase> {};

TEST_P(ForeignDeviceChangeTest, LeavesTheDeviceAndARunningTestAlone) {
  const BroadcastCase& c = GetParam();
  AttachWheel();
  size_t from = 0;
  size_t windowsReached = 0;
  UserSession session;
  session.Wait(50)
      .Then([](HWND dialog) { ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, stepTestMode)); })
      .Wait(1500)
      .Then([&](HWND) {
        from = host::CallLogSize();
        windowsReached = host::BroadcastDeviceChange(c.event, c.deviceType);
      })
      .WaitUntil(ShowsDisabled, 60000)
      .Then([](HWND dialog) { driver::ClickCloseBox(dialog); });
  ASSERT_EQ(session.Run(), 0);
  ASSERT_FALSE(session.timedOut());
  ASSERT_GE(windowsReached, 1u) << "the broadcast reached no window";

  std::vector<std::string> listOrOpen;
  for (const host::CallRecord& r : CallsSince(from)) {
    if (r.method == host::Method::EnumDevices || r.method == host::Method::CreateDevice ||
        r.method == host::Method::CreateEffect || r.method == host::Method::EnumCreatedEffectObjects) {
      listOrOpen.emplace_back(host::MethodName(r.method));
    }
  }
  EXPECT_TRUE(listOrOpen.empty()) << "the broadcast led to " << testing::PrintToString(listOrOpen);
  EXPECT_EQ(OnlyLog("log ").size(), wholeStepLogLines) << "the run was cut or restarted";
  EXPECT_EQ(testRunCount, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Broadcasts, ForeignDeviceChangeTest,
    testing::Values(BroadcastCase{"device tree changed", DBT_DEVNODES_CHANGED, 0},
                    BroadcastCase{"volume arrived", DBT_DEVICEARRIVAL, DBT_DEVTYP_VOLUME},
                    BroadcastCase{"port removed", DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_PORT}),
    test_support::NamedByWhat());

}  // namespace
