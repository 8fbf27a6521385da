#include <cstdlib>

#include <gtest/gtest.h>

#include "host/debug_output.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // Trace lines are asserted from the capture buffer; echo them only when asked.
  host::SetDebugOutputEcho(std::getenv("VANTREL_TRACE") != nullptr);
  return RUN_ALL_TESTS();
}
