#include "support/user_session.h"

#include "app/win_main.h"
#include "host/driver/user_driver.h"
#include "host/system.h"
#include "host/window/host_window.h"

namespace {

// Virtual time the program may run on after the last step before the session closes it.
constexpr uint32_t lingerMs = 60000;
// Idle moments without the clock moving before the session gives up (a loop that never sleeps).
constexpr uint64_t idleCallLimit = 5000000;

}  // namespace

UserSession& UserSession::Then(Step step) {
  entries_.push_back({std::move(step), 0, nullptr});
  return *this;
}

UserSession& UserSession::EveryIdle(Step observer) {
  everyIdle_ = std::move(observer);
  return *this;
}

UserSession& UserSession::AdvanceClockEvery(uint32_t idleMoments) {
  clockStepEvery_ = idleMoments;
  return *this;
}

UserSession& UserSession::Wait(uint32_t milliseconds) {
  entries_.push_back({nullptr, milliseconds, nullptr});
  return *this;
}

UserSession& UserSession::WaitUntil(std::function<bool(HWND dialog)> condition, uint32_t maxMs) {
  entries_.push_back({nullptr, maxMs, std::move(condition)});
  return *this;
}

void UserSession::OnIdle(void* context) { static_cast<UserSession*>(context)->Idle(); }

void UserSession::OnSleep(DWORD, void* context) {
  UserSession* session = static_cast<UserSession*>(context);
  ++session->sleeps_;
  if (session->recordSleeps_) session->messagesBeforeSleep_.push_back(host::RetrievedMessageCount());
}

void UserSession::Idle() {
  if (closing_) return;
  if (dialog_ == nullptr) dialog_ = GetActiveWindow();
  if (clockStepEvery_ > 0 && ++idleSinceClockStep_ >= clockStepEvery_) {
    idleSinceClockStep_ = 0;
    host::AdvanceVirtualClock(1);
  }
  if (everyIdle_) everyIdle_(dialog_);
  uint32_t now = timeGetTime();
  if (now != lastIdleMs_) {
    lastIdleMs_ = now;
    idleCalls_ = 0;
  }
  if (++idleCalls_ > idleCallLimit) {
    Close();
    return;
  }
  while (next_ < entries_.size()) {
    Entry& entry = entries_[next_];
    if (!entry.step) {
      if (!waiting_) {
        waiting_ = true;
        waitUntil_ = now + entry.waitMs;
      }
      bool expired = static_cast<int32_t>(now - waitUntil_) >= 0;
      bool met = entry.until && entry.until(dialog_);
      if (!expired && !met) return;
      if (entry.until && !met) timedOut_ = true;
      waiting_ = false;
      ++next_;
      continue;
    }
    ++next_;
    entry.step(dialog_);
    // A wait right after a step counts from this moment.
    if (next_ < entries_.size() && !entries_[next_].step) {
      waiting_ = true;
      waitUntil_ = now + entries_[next_].waitMs;
    }
    if (next_ == entries_.size()) {
      lingering_ = true;
      waitUntil_ = now + lingerMs;
    }
    return;
  }
  if (!lingering_) {
    lingering_ = true;
    waitUntil_ = now + lingerMs;
  }
  if (static_cast<int32_t>(now - waitUntil_) < 0) return;
  // Steps done and the minute is over: the program should have ended by now.
  Close();
}

void UserSession::Close() {
  leftRunning_ = true;
  closing_ = true;
  host::driver::ClickCloseBox(dialog_);
}

int UserSession::Run() {
  host::SetIdleHook(&UserSession::OnIdle, this);
  host::SetSleepHook(&UserSession::OnSleep, this);
  int result = WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL);
  host::SetIdleHook(nullptr, nullptr);
  host::SetSleepHook(nullptr, nullptr);
  return result;
}
