// The program's OutputDebugStringA lines, collected from outside the way a debug-output viewer
// does: through the shared "DBWIN_BUFFER" mapping and its two events, on a listener thread.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

class DebugOutputListener {
 public:
  DebugOutputListener() = default;
  DebugOutputListener(const DebugOutputListener&) = delete;
  DebugOutputListener& operator=(const DebugOutputListener&) = delete;
  ~DebugOutputListener();

  // Creates the buffer and its events and starts listening; must come before the program starts,
  // whose first lines are written during its start-up. Fails when another listener holds the
  // buffer (only one can: writers hand each string to whoever owns it).
  bool Start(std::string* error);
  // Stops listening and releases the buffer, so that later writers find no listener and go on at
  // once instead of waiting for one.
  void Stop();

  // From now on keeps only what this process writes, and drops what others wrote so far.
  void Follow(DWORD processId);

  // Writes a marker string of our own and waits (bounded) until it has come through. The buffer is
  // handed to the next writer only after the last string was stored, so once the marker is in,
  // everything written before it is too. False when it did not come: the channel carries nothing.
  bool Flush();

  // The complete lines (without their "\n") the followed process has written so far.
  std::vector<std::string> Lines() const;

 private:
  static DWORD WINAPI Listen(LPVOID self);
  void Take(DWORD processId, const char* text);

  HANDLE mapping_ = nullptr;
  const char* view_ = nullptr;
  HANDLE bufferReady_ = nullptr;
  HANDLE dataReady_ = nullptr;
  HANDLE stop_ = nullptr;
  HANDLE thread_ = nullptr;

  mutable SRWLOCK lock_ = SRWLOCK_INIT;
  // Guarded by lock_: what each process wrote, split into lines, and its unfinished last line.
  struct Output {
    std::vector<std::string> lines;
    std::string pending;
  };
  std::map<DWORD, Output> outputs_;
  std::optional<DWORD> followed_;
  std::string marker_;
  bool markerSeen_ = false;
};
