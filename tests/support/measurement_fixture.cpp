#include "support/measurement_fixture.h"

#include <cstdlib>

#include "app/control_ids.h"
#include "host/driver/user_driver.h"
#include "support/program_state.h"

namespace driver = host::driver;

void MeasurementTest::SetUp() {
  ProgramTest::SetUp();
  // The program creates its own dialog.
  DestroyWindow(dialog);
  dialog = nullptr;
  // The previous folder goes first: it unsets the shell's folder as it goes.
  folder.reset();
  folder = std::make_unique<LogFolder>();
}

void MeasurementTest::TearDown() {
  folder.reset();
  ProgramTest::TearDown();
}

void MeasurementTest::StartAfresh() {
  folder.reset();
  ResetProgramState();
  folder = std::make_unique<LogFolder>();
}

host::DeviceId MeasurementTest::AttachWheelWith(const sim::WheelParameters& wheel) {
  host::DeviceDescription description = host::VirtualWheelDescription();
  description.wheel = wheel;
  return host::AttachDevice(description);
}

void MeasurementTest::Enter(HWND dialog, int id, const std::string& text) {
  ASSERT_TRUE(driver::TypeText(dialog, id, text)) << id;
  ASSERT_TRUE(driver::PressEnter(dialog));
}

bool MeasurementTest::ShowsDisabled(HWND dialog) { return driver::ComboSelection(dialog, IDC_MODE) == 0; }

void MeasurementTest::RunToDisabled(int mode, const std::function<void(HWND)>& setup, uint32_t maxMs,
                                    const std::function<void(HWND)>& after) {
  UserSession session;
  session.Wait(50)
      .Then([&](HWND dialog) {
        if (setup) setup(dialog);
        ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, mode));
      })
      .WaitUntil(ShowsDisabled, maxMs)
      .Then([&](HWND dialog) {
        if (after) after(dialog);
        driver::ClickCloseBox(dialog);
      });
  ASSERT_EQ(session.Run(), 0);
  EXPECT_FALSE(session.timedOut()) << "mode " << mode << " did not return to Disabled";
}

std::vector<std::string> MeasurementTest::OnlyLog(const std::string& prefix) {
  std::vector<std::string> names = folder->Files(prefix);
  if (names.size() != 1) {
    ADD_FAILURE() << names.size() << " logs start with \"" << prefix << "\"";
    return {};
  }
  return CsvLines(folder->Read(names[0]));
}

std::vector<double> CsvNumbers(const std::string& line) {
  std::vector<double> numbers;
  for (const std::string& field : CsvFields(line)) numbers.push_back(std::strtod(field.c_str(), nullptr));
  return numbers;
}
