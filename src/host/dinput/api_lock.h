// One lock for the whole stand-in. Every interface method and every test-facing function
// holds it; it is recursive because enumeration callbacks call back in on the same thread.
#pragma once

#include <mutex>

namespace host::dinput {

std::recursive_mutex& ApiMutex();

class ApiLock {
 public:
  ApiLock() : lock_(ApiMutex()) {}

 private:
  std::lock_guard<std::recursive_mutex> lock_;
};

}  // namespace host::dinput
