#include "host/dinput/api_lock.h"

namespace host::dinput {

std::recursive_mutex& ApiMutex() {
  static std::recursive_mutex mutex;
  return mutex;
}

}  // namespace host::dinput
