#include "runner/runner_fixture.h"

#include <cstdio>
#include <cstdlib>

#include "app/runner/runner.h"
#include "host/system.h"

namespace {

struct SleepWatch {
  const std::function<void(uint64_t)>* callback;
  uint64_t slept;
};

void OnSleep(DWORD milliseconds, void* context) {
  SleepWatch* watch = static_cast<SleepWatch*>(context);
  watch->slept += milliseconds;
  (*watch->callback)(watch->slept);
}

// A stream into memory, read back when closed.
class CapturedStream {
 public:
  CapturedStream() : file_(open_memstream(&buffer_, &size_)) {}
  ~CapturedStream() {
    if (file_ != nullptr) std::fclose(file_);
    std::free(buffer_);
  }
  std::FILE* file() { return file_; }
  std::string Take() {
    std::fclose(file_);
    file_ = nullptr;
    return std::string(buffer_, size_);
  }

 private:
  char* buffer_ = nullptr;
  size_t size_ = 0;
  std::FILE* file_;
};

}  // namespace

void RunnerTest::TearDown() {
  host::SetSleepHook(nullptr, nullptr);
  MeasurementTest::TearDown();
}

RunnerResult RunnerTest::RunRunner(const std::vector<std::string>& arguments,
                                   const std::function<void(uint64_t)>& everySleep) {
  std::vector<const char*> argv{"vantrel-measure"};
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());
  SleepWatch watch{&everySleep, 0};
  if (everySleep) host::SetSleepHook(OnSleep, &watch);
  CapturedStream out;
  CapturedStream err;
  RunnerResult result;
  result.exitCode = RunMeasureProgram(static_cast<int>(argv.size()), argv.data(), out.file(), err.file());
  host::SetSleepHook(nullptr, nullptr);
  result.out = out.Take();
  result.err = err.Take();
  return result;
}
