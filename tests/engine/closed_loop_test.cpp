// The force modes against the virtual wheel, worked through the dialog as a user would.
// Outcomes are physical (where the wheel comes to rest, how it swings) with tolerances
// taken from the wheel model's own parameters.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <regex>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "host/dinput/device_registry.h"
#include "host/driver/user_driver.h"
#include "sim/virtual_wheel.h"
#include "sim/wheel_parameters.h"
#include "support/program_fixture.h"
#include "support/user_session.h"

namespace {

namespace driver = host::driver;

class ClosedLoopTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    DestroyWindow(dialog);
    dialog = nullptr;
    wheel = AttachWheel();
  }
  sim::VirtualWheel& Wheel() { return *host::VirtualWheelOf(wheel); }
  // The wheel's true angle on the program's normalised scale (+-10000 at the end stops).
  double Position() {
    const sim::WheelParameters defaults;
    return Wheel().Angle() / (defaults.rotationRange / 2.0) * 10000.0;
  }
  // Force units per N*m of the default motor, and the break-away torque in force units.
  static double BreakAwayUnits() {
    const sim::WheelParameters p;
    return p.staticFriction / p.maxMotorTorque * 10000.0;
  }
  // Records the wheel's position every millisecond for `ms` milliseconds.
  void Record(UserSession& session, uint32_t ms, std::vector<double>& trace) {
    for (uint32_t i = 0; i < ms; ++i) {
      session.Then([this, &trace](HWND) { trace.push_back(Position()); }).Wait(1);
    }
  }
  host::DeviceId wheel = host::noDevice;
};

TEST_F(ClosedLoopTest, SimpleSpringBringsTheWheelToRestNearTheOffset) {
  UserSession session;
  std::vector<double> last;
  session.Wait(50)
      .Then([](HWND dialog) {
        ASSERT_TRUE(driver::DragTrackbar(dialog, IDC_OFFSET_X, 13000));  // offset +3000
        ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, 1));
      })
      .Wait(5000);
  Record(session, 500, last);
  std::string position;
  session.Then([&](HWND dialog) {
    position = driver::Text(dialog, IDC_POSITION);
    driver::ClickCloseBox(dialog);
  });
  ASSERT_EQ(session.Run(), 0);
  // At rest the spring's pull (error x coefficient 10000 / 10000) is below the break-away.
  for (double p : last) EXPECT_NEAR(p, 3000.0, BreakAwayUnits() + 5.0);
  EXPECT_LT(*std::max_element(last.begin(), last.end()) - *std::min_element(last.begin(), last.end()), 5.0);
  // The readout shows the position the tick normalised and the raw axis values.
  std::smatch m;
  ASSERT_TRUE(std::regex_match(position, m, std::regex("\\((-?\\d+), (-?\\d+)\\) \\((-?\\d+), (-?\\d+)\\)"))) << position;
  EXPECT_NEAR(std::stod(m[1]), last.back(), 10.0);
}

TEST_F(ClosedLoopTest, ThePidModeSettlesOnTheTargetWithoutSustainedOscillation) {
  UserSession session;
  std::vector<double> last;
  session.Wait(50)
      .Then([](HWND dialog) {
        ASSERT_TRUE(driver::DragTrackbar(dialog, IDC_OFFSET_X, 6000));  // offset -4000
        ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, 3));
      })
      .Wait(6000);
  Record(session, 1000, last);
  session.Then([](HWND dialog) { driver::ClickCloseBox(dialog); });
  ASSERT_EQ(session.Run(), 0);
  // Kp 5: the wheel stays put once 5 x error no longer breaks it away.
  double tolerance = BreakAwayUnits() / 5.0 + 5.0;
  for (double p : last) EXPECT_NEAR(p, -4000.0, tolerance);
  EXPECT_LT(*std::max_element(last.begin(), last.end()) - *std::min_element(last.begin(), last.end()), 5.0);
}

TEST_F(ClosedLoopTest, TheShifterResistsUpToTheGateThenSnapsIntoGear) {
  UserSession session;
  struct Sample {
    double position;
    double resistance;  // motor torque opposing the hand, N*m
  };
  std::vector<Sample> samples;
  session.Wait(50).Then([](HWND dialog) { ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, 4)); }).Wait(500);
  // The hand turns the wheel toward +X (a positive hand torque: the angle grows),
  // slowly enough to stay near balance with the spring.
  for (int ms = 0; ms < 6000; ++ms) {
    session
        .Then([this, ms, &samples](HWND) {
          Wheel().SetHandTorque(0.0001 * ms);
          samples.push_back({Position(), -Wheel().MotorTorque()});
        })
        .Wait(1);
  }
  session.Then([](HWND dialog) { driver::ClickCloseBox(dialog); });
  ASSERT_EQ(session.Run(), 0);
  Sample peak{0, 0};
  for (const Sample& s : samples) {
    if (s.position > 0 && s.position < 1500 && s.resistance > peak.resistance) peak = s;
  }
  // The firm centring spring ends at the gate at +1000: there the pull drops to the gear's.
  EXPECT_GT(peak.position, 900.0);
  EXPECT_LE(peak.position, 1000.0 + 5.0);
  double after = 0;
  for (const Sample& s : samples) {
    if (s.position > 1010 && s.position < 1100) after = std::max(after, s.resistance);
  }
  EXPECT_LT(after, 0.6 * peak.resistance);
  double farthest = 0;
  for (const Sample& s : samples) farthest = std::max(farthest, s.position);
  EXPECT_GT(farthest, 1100.0);
}

TEST_F(ClosedLoopTest, CycleRunsTheWheelFromEndToEnd) {
  UserSession session;
  std::vector<double> trace;
  session.Wait(50).Then([](HWND dialog) { ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, 9)); });
  Record(session, 6000, trace);
  session.Then([](HWND dialog) { driver::ClickCloseBox(dialog); });
  ASSERT_EQ(session.Run(), 0);
  // Count the swings: each passes beyond -9000 or +9000 before the force turns.
  int swings = 0;
  int side = 0;
  for (double p : trace) {
    if (p < -9000 && side != -1) {
      side = -1;
      ++swings;
    } else if (p > 9000 && side != 1) {
      side = 1;
      ++swings;
    }
  }
  EXPECT_GE(swings, 4);
}

TEST_F(ClosedLoopTest, TheSineModeSwingsTheWheelAtOneHertz) {
  UserSession session;
  std::vector<double> trace;
  session.Wait(50)
      .Then([](HWND dialog) {
        ASSERT_TRUE(driver::DragTrackbar(dialog, IDC_COEFFICIENT, 200));
        ASSERT_TRUE(driver::DragTrackbar(dialog, IDC_SATURATION_X, 2500));
        ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, 8));
      })
      .Wait(3000);
  Record(session, 6000, trace);
  std::string coefficientLabel;
  session.Then([&](HWND dialog) {
    coefficientLabel = driver::Text(dialog, IDC_COEFFICIENT_VALUE);
    driver::ClickCloseBox(dialog);
  });
  ASSERT_EQ(session.Run(), 0);
  EXPECT_EQ(coefficientLabel, "1.00");
  double mean = 0;
  for (double p : trace) mean += p;
  mean /= static_cast<double>(trace.size());
  std::vector<size_t> upward;
  for (size_t i = 1; i < trace.size(); ++i) {
    if (trace[i - 1] < mean && trace[i] >= mean) upward.push_back(i);
  }
  ASSERT_GE(upward.size(), 4u);
  double period = static_cast<double>(upward.back() - upward.front()) / static_cast<double>(upward.size() - 1);
  EXPECT_NEAR(period, 1000.0, 20.0);
}

TEST_F(ClosedLoopTest, LabelsShowTheSettingsAndTheLoopTiming) {
  UserSession session;
  session.Wait(50)
      .Then([](HWND dialog) {
        ASSERT_TRUE(driver::DragTrackbar(dialog, IDC_DEADBAND, 250));
        ASSERT_TRUE(driver::DragTrackbar(dialog, IDC_RANGE, 80));
        ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_DAMPER_TYPE, 1));
        ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, 1));
      })
      .Wait(500)
      .Then([](HWND dialog) {
        struct Label {
          int id;
          const char* text;
        };
        const Label labels[] = {
            {IDC_SATURATION_X_VALUE, "10000 (10000)"},
            {IDC_SATURATION_Y_VALUE, "10000 (10000)"},
            {IDC_COEFFICIENT_VALUE, "10000"},
            {IDC_DEADBAND_VALUE, "250"},
            {IDC_RANGE_VALUE, "80"},
            {IDC_DAMPER_SATURATION_VALUE, "10000"},
            {IDC_DAMPER_COEFFICIENT_VALUE, "5000 (5000)"},
            {IDC_DAMPER_OFFSET_VALUE, "0"},
            {IDC_DAMPER_DEADBAND_VALUE, "0"},
            {IDC_SLEEP_READOUT, "1.00 ms / 0 ms"},
        };
        for (const Label& l : labels) EXPECT_EQ(driver::Text(dialog, l.id), l.text) << l.id;
        ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, 6));
      })
      .Wait(300)
      .Then([](HWND dialog) {
        std::string saturation = driver::Text(dialog, IDC_SATURATION_X_VALUE);
        EXPECT_TRUE(std::regex_match(saturation, std::regex("100% \\(-?\\d+\\)"))) << saturation;
        driver::ClickCloseBox(dialog);
      });
  ASSERT_EQ(session.Run(), 0);
}

TEST_F(ClosedLoopTest, ReadoutsFreezeDuringTheMeasurementModes) {
  UserSession session;
  session.Wait(50)
      .Then([](HWND dialog) { ASSERT_TRUE(driver::DragTrackbar(dialog, IDC_DEADBAND, 300)); })
      .Wait(300)
      .Then([](HWND dialog) {
        ASSERT_EQ(driver::Text(dialog, IDC_DEADBAND_VALUE), "300");
        ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, 12));
        ASSERT_TRUE(driver::DragTrackbar(dialog, IDC_DEADBAND, 700));
      })
      .Wait(500)
      .Then([](HWND dialog) {
        EXPECT_EQ(driver::Text(dialog, IDC_DEADBAND_VALUE), "300");
        ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, 0));
      })
      .Wait(102)
      .Then([](HWND dialog) {
        EXPECT_EQ(driver::Text(dialog, IDC_DEADBAND_VALUE), "700");
        driver::ClickCloseBox(dialog);
      });
  ASSERT_EQ(session.Run(), 0);
}

}  // namespace
