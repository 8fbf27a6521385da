#include "support/soak_scenario.h"

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "app/control_ids.h"
#include "host/debug_output.h"
#include "host/dinput/call_log.h"
#include "host/dinput/device_registry.h"
#include "host/dinput/fault_injection.h"
#include "host/dinput/live_objects.h"
#include "host/driver/user_driver.h"
#include "host/system.h"
#include "support/program_state.h"
#include "support/program_torque.h"
#include "support/user_session.h"

namespace {

namespace driver = host::driver;
namespace fs = std::filesystem;

// One user action or injected fault every this many milliseconds of wheel time.
constexpr uint32_t actionEveryMs = 250;
constexpr uint32_t checkpointEveryActions = 200;

// Calls a tick makes that may fail without ending the program (a failing enumeration
// ends it, as it should).
constexpr host::Method faultableMethods[] = {
    host::Method::Acquire,       host::Method::Poll,         host::Method::GetDeviceState,
    host::Method::GetProperty,   host::Method::SetParameters, host::Method::Start,
    host::Method::Stop,          host::Method::CreateEffect, host::Method::SetProperty,
    host::Method::GetDeviceInfo, host::Method::GetCapabilities, host::Method::EnumObjects,
    host::Method::GetEffectStatus, host::Method::GetParameters, host::Method::Escape,
    host::Method::SendForceFeedbackCommand, host::Method::CreateDevice, host::Method::SetCooperativeLevel,
};
constexpr HRESULT faultCodes[] = {DIERR_INPUTLOST, DIERR_NOTACQUIRED, E_FAIL, DIERR_UNPLUGGED};

int OpenFiles() {
  std::error_code error;
  int count = 0;
  for (auto it = fs::directory_iterator("/proc/self/fd", error); !error && it != fs::directory_iterator();
       it.increment(error)) {
    ++count;
  }
  return count;
}

uint64_t HeapInUse() {
#if defined(__SANITIZE_ADDRESS__)
  return 0;
#else
  return mallinfo2().uordblks;
#endif
}

bool EndsInCrLf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, "\r\n") == 0;
}

class Soak {
 public:
  Soak(uint64_t ticks, uint32_t seed) : ticks_(ticks), random_(seed) {}

  SoakReport Run() {
    ResetProgramState();
    host::SetCallLogEnabled(false);
    folder_ = fs::temp_directory_path() / ("vantrel-soak-" + std::to_string(::getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    std::string folderText = folder_.string();
    host::SetDocumentsFolder(folderText.c_str());
    report_.openFilesBefore = OpenFiles();

    wheel_ = host::AttachDevice(host::VirtualWheelDescription());
    wheelGuid_ = host::DeviceInstanceGuid(wheel_);
    host::AttachDevice(host::KeyboardDescription());

    UserSession session;
    session.recordSleeps(false);
    session.EveryIdle([this](HWND dialog) { Observe(dialog); });
    session_ = &session;
    // Retries of a lost device take 100 ms of wheel time per pass: plan for twice the
    // wheel time and stop once the passes are done.
    uint64_t actions = 2 * ticks_ / actionEveryMs + 1;
    session.Wait(50);
    for (uint64_t i = 0; i < actions; ++i) {
      session.Then([this](HWND dialog) { Act(dialog); }).Wait(actionEveryMs);
    }
    session.Then([this](HWND dialog) {
      if (!closing_) driver::ClickCloseBox(dialog);
    });
    report_.exitCode = session.Run();
    report_.leftRunning = session.leftRunning();
    report_.ticks = session.sleepCount();

    host::ClearFaults();
    host::LiveObjectCounts live = host::LiveObjects();
    report_.liveObjectsAfterExit = live.directInput + live.devices + live.effects;
    report_.openFilesAfterExit = OpenFiles();
    for (const fs::directory_entry& entry : fs::directory_iterator(folder_)) {
      // Beside the logs: the analysis pages of the runs that ended.
      if (entry.path().extension() == ".html") {
        ++report_.pagesWritten;
        continue;
      }
      ++report_.logsWritten;
      if (!EndsInCrLf(entry.path())) report_.unclosedLogs.push_back(entry.path().filename().string());
    }
    host::SetDocumentsFolder(nullptr);
    fs::remove_all(folder_);
    host::SetCallLogEnabled(true);
    return report_;
  }

 private:
  uint32_t Pick(uint32_t count) { return std::uniform_int_distribution<uint32_t>(0, count - 1)(random_); }

  // Idle moments come between ticks: the state seen at one is what the next tick runs with.
  void Observe(HWND dialog) {
    sim::VirtualWheel* wheel = wheelAttached_ ? host::VirtualWheelOf(wheel_) : nullptr;
    // No failure delivered since the last idle moment, that is during the tick in between.
    uint64_t delivered = host::DeliveredFaults();
    bool noFaultSince = delivered == deliveredAtLastIdle_;
    deliveredAtLastIdle_ = delivered;
    bool quiet = !closing_ && wheel != nullptr && noFaultSince &&
                 driver::ComboSelection(dialog, IDC_MODE) == 0 && driver::ComboSelection(dialog, IDC_DAMPER_TYPE) == 0;
    if (quiet && quietTicks_ >= 2) {
      ++report_.disabledTicksChecked;
      double torque = ProgramTorque(*wheel);
      if (torque != 0.0) {
        if (report_.forceLeftOn++ == 0) {
          report_.firstForceLeftOn = "torque " + std::to_string(torque) + " N m at " + std::to_string(timeGetTime()) +
                                     " ms, after action " + std::to_string(report_.actions);
        }
      }
    }
    quietTicks_ = quiet ? quietTicks_ + 1 : 0;
  }

  void Act(HWND dialog) {
    // The tick after an action is not an undisturbed one.
    quietTicks_ = 0;
    if (closing_) return;
    if (session_->sleepCount() >= ticks_) {
      closing_ = true;
      driver::ClickCloseBox(dialog);
      return;
    }
    ++report_.actions;
    // The trace capture would grow with the run: it is not what is measured.
    host::ClearDebugOutput();
    switch (Pick(10)) {
      case 0:
      case 1:
      case 2:
        driver::ChooseComboItem(dialog, IDC_MODE, static_cast<int>(Pick(15)));
        break;
      case 3:
        if (wheelAttached_) {
          wheelAttached_ = !driver::UnplugDevice(wheel_);
        } else {
          host::DeviceDescription same = host::VirtualWheelDescription();
          same.instanceGuid = wheelGuid_;
          wheelAttached_ = driver::PlugDevice(same) != host::noDevice;
        }
        break;
      case 4:
        driver::ClickButton(dialog, IDC_REFRESH);
        break;
      case 5:
        driver::ClickButton(dialog, IDC_KILL_FFB);
        break;
      case 6:
        driver::ChooseComboItem(dialog, IDC_DAMPER_TYPE, static_cast<int>(Pick(4)));
        break;
      default: {
        host::Method method = faultableMethods[Pick(std::size(faultableMethods))];
        host::FailNextCalls(method, 1 + Pick(3), faultCodes[Pick(std::size(faultCodes))]);
        break;
      }
    }
    if (report_.actions % checkpointEveryActions == 0) Checkpoint();
  }

  void Checkpoint() {
    ++checkpoints_;
    host::LiveObjectCounts live = host::LiveObjects();
    report_.maxLiveDirectInput = std::max(report_.maxLiveDirectInput, live.directInput);
    report_.maxLiveDevices = std::max(report_.maxLiveDevices, live.devices);
    report_.maxLiveEffects = std::max(report_.maxLiveEffects, live.effects);
    int files = OpenFiles();
    if (checkpoints_ == 1) report_.openFilesAtFirstCheckpoint = files;
    report_.maxOpenFiles = std::max(report_.maxOpenFiles, files);
    uint64_t heap = HeapInUse();
    if (checkpoints_ == 2) report_.heapAtSecondCheckpoint = heap;
    if (checkpoints_ > 2) report_.maxHeapLater = std::max(report_.maxHeapLater, heap);
  }

  uint64_t ticks_;
  std::mt19937 random_;
  fs::path folder_;
  host::DeviceId wheel_ = host::noDevice;
  GUID wheelGuid_{};
  bool wheelAttached_ = true;
  uint64_t checkpoints_ = 0;
  UserSession* session_ = nullptr;
  bool closing_ = false;
  uint64_t quietTicks_ = 0;
  uint64_t deliveredAtLastIdle_ = 0;
  SoakReport report_;
};

}  // namespace

SoakReport RunSoak(uint64_t ticks, uint32_t seed) { return Soak(ticks, seed).Run(); }
