#include "debug_output.h"

#include <cstring>
#include <iterator>

#include "remote_window.h"

namespace {

// The layout writers use: the writer's process id, then its text with a terminating zero.
constexpr DWORD bufferSize = 4096;
constexpr size_t textRoom = bufferSize - sizeof(DWORD);
// The marker waits behind at most the strings already queued; each is handed over in microseconds.
constexpr DWORD flushWaitMs = 3000;

void CloseIfOpen(HANDLE& handle) {
  if (handle != nullptr) CloseHandle(handle);
  handle = nullptr;
}

std::string LastError(const char* call) {
  return std::string(call) + " failed with error " + std::to_string(GetLastError());
}

}  // namespace

DebugOutputListener::~DebugOutputListener() { Stop(); }

bool DebugOutputListener::Start(std::string* error) {
  mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, bufferSize, "DBWIN_BUFFER");
  if (mapping_ == nullptr) {
    *error = LastError("CreateFileMappingA(DBWIN_BUFFER)");
    return false;
  }
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    *error = "another debug output listener holds DBWIN_BUFFER";
    Stop();
    return false;
  }
  view_ = static_cast<const char*>(MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, bufferSize));
  // Both auto-reset: each string is one hand-over of the buffer.
  bufferReady_ = CreateEventA(nullptr, FALSE, FALSE, "DBWIN_BUFFER_READY");
  dataReady_ = CreateEventA(nullptr, FALSE, FALSE, "DBWIN_DATA_READY");
  stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (view_ == nullptr || bufferReady_ == nullptr || dataReady_ == nullptr || stop_ == nullptr) {
    *error = LastError("setting up DBWIN_BUFFER");
    Stop();
    return false;
  }
  thread_ = CreateThread(nullptr, 0, Listen, this, 0, nullptr);
  if (thread_ == nullptr) {
    *error = LastError("CreateThread");
    Stop();
    return false;
  }
  return true;
}

void DebugOutputListener::Stop() {
  if (thread_ != nullptr) {
    SetEvent(stop_);
    WaitForSingleObject(thread_, INFINITE);
    CloseIfOpen(thread_);
  }
  if (view_ != nullptr) UnmapViewOfFile(view_);
  view_ = nullptr;
  CloseIfOpen(stop_);
  CloseIfOpen(dataReady_);
  CloseIfOpen(bufferReady_);
  CloseIfOpen(mapping_);
}

DWORD WINAPI DebugOutputListener::Listen(LPVOID self) {
  auto* listener = static_cast<DebugOutputListener*>(self);
  HANDLE wakes[] = {listener->stop_, listener->dataReady_};
  char text[textRoom + 1];
  for (;;) {
    SetEvent(listener->bufferReady_);
    if (WaitForMultipleObjects(2, wakes, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) return 0;
    DWORD processId = 0;
    std::memcpy(&processId, listener->view_, sizeof(processId));
    std::memcpy(text, listener->view_ + sizeof(DWORD), textRoom);
    // A writer that overran the buffer must not make us read past it.
    text[textRoom] = '\0';
    listener->Take(processId, text);
  }
}

void DebugOutputListener::Take(DWORD processId, const char* text) {
  AcquireSRWLockExclusive(&lock_);
  if (processId == GetCurrentProcessId() && !marker_.empty() && marker_ == text) markerSeen_ = true;
  if (!followed_ || *followed_ == processId) {
    Output& output = outputs_[processId];
    output.pending += text;
    size_t end;
    while ((end = output.pending.find('\n')) != std::string::npos) {
      std::string line = output.pending.substr(0, end);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      output.lines.push_back(std::move(line));
      output.pending.erase(0, end + 1);
    }
  }
  ReleaseSRWLockExclusive(&lock_);
}

void DebugOutputListener::Follow(DWORD processId) {
  AcquireSRWLockExclusive(&lock_);
  followed_ = processId;
  for (auto output = outputs_.begin(); output != outputs_.end();) {
    output = output->first == processId ? std::next(output) : outputs_.erase(output);
  }
  ReleaseSRWLockExclusive(&lock_);
}

bool DebugOutputListener::Flush() {
  if (thread_ == nullptr) return false;
  static int flushes = 0;
  std::string marker = "vantrel_wine_check flush " + std::to_string(++flushes);
  AcquireSRWLockExclusive(&lock_);
  marker_ = marker;
  markerSeen_ = false;
  ReleaseSRWLockExclusive(&lock_);
  OutputDebugStringA(marker.c_str());
  return remote::WaitUntil(
      [this] {
        AcquireSRWLockShared(&lock_);
        bool seen = markerSeen_;
        ReleaseSRWLockShared(&lock_);
        return seen;
      },
      flushWaitMs);
}

std::vector<std::string> DebugOutputListener::Lines() const {
  AcquireSRWLockShared(&lock_);
  std::vector<std::string> lines;
  if (followed_) {
    auto output = outputs_.find(*followed_);
    if (output != outputs_.end()) lines = output->second.lines;
  }
  ReleaseSRWLockShared(&lock_);
  return lines;
}
