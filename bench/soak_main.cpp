// vantrel_soak [ticks] [seed]: the long soak (10 million ticks by default) of a restless
// user on the real program; prints what it measured and exits 1 on a leak or a lost log.
// The same limits as the short soak in the test suite.
#include <cinttypes>
#include <cstdio>
#include <cstdlib>

#include "host/debug_output.h"
#include "support/soak_scenario.h"

int main(int argc, char** argv) {
  uint64_t ticks = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 10000000;
  uint32_t seed = argc > 2 ? static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10)) : 20261210;
  // The injected failures are traced by the thousand: VANTREL_TRACE=1 shows them.
  host::SetDebugOutputEcho(std::getenv("VANTREL_TRACE") != nullptr);
  SoakReport r = RunSoak(ticks, seed);
  std::printf("exit code %d%s, %" PRIu64 " loop passes, %" PRIu64 " actions, %" PRIu64 " logs, %" PRIu64 " pages\n",
              r.exitCode, r.leftRunning ? " (closed by the soak)" : "", r.ticks, r.actions, r.logsWritten,
              r.pagesWritten);
  std::printf("live objects at most: %d DirectInput, %d devices, %d effects; after exit %d\n", r.maxLiveDirectInput,
              r.maxLiveDevices, r.maxLiveEffects, r.liveObjectsAfterExit);
  std::printf("open files: %d before, at most %d while running, %d after exit\n", r.openFilesBefore, r.maxOpenFiles,
              r.openFilesAfterExit);
  std::printf("heap in use: %" PRIu64 " bytes at the second checkpoint, at most %" PRIu64 " later\n",
              r.heapAtSecondCheckpoint, r.maxHeapLater);
  std::printf("logs not closed: %zu\n", r.unclosedLogs.size());
  std::printf("ticks checked for no torque after \"Disabled\": %" PRIu64 ", with torque left on: %" PRIu64 "%s%s\n",
              r.disabledTicksChecked, r.forceLeftOn, r.forceLeftOn > 0 ? ", first: " : "", r.firstForceLeftOn.c_str());
  bool heapGrew = r.heapAtSecondCheckpoint != 0 && r.maxHeapLater > r.heapAtSecondCheckpoint + 512 * 1024;
  bool ok = r.exitCode == 0 && !r.leftRunning && r.maxLiveDirectInput <= 1 && r.maxLiveDevices <= 1 &&
            r.maxLiveEffects <= 5 && r.liveObjectsAfterExit == 0 && r.openFilesAfterExit == r.openFilesBefore &&
            r.maxOpenFiles <= r.openFilesBefore + 5 && !heapGrew && r.unclosedLogs.empty() &&
            r.disabledTicksChecked > 0 && r.forceLeftOn == 0;
  std::printf("%s\n", ok ? "PASS" : "FAIL");
  return ok ? 0 : 1;
}
