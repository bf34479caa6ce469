// Names a test case that hangs. Under Wine one process runs a whole executable, so without this a
// hang shows only as ctest's timeout for all of it, with no word of which case never ended. A case
// that runs longer than LUMORA_TEST_HANG_SECONDS (default 240) is named on the error stream and
// the executable ends with a failure.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// What the watching thread reads. Never freed: the thread is still running when the test
// program's listeners are destroyed at its exit.
struct Running {
  std::mutex mutex;
  std::string name;  // empty between cases
  unsigned long started = 0;
};
Running* const kRunning = new Running;

void Watch(int limit) {
  unsigned long watched = 0;
  int seconds = 0;
  for (;;) {
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const std::lock_guard<std::mutex> lock(kRunning->mutex);
    if (kRunning->name.empty() || kRunning->started != watched) {
      watched = kRunning->started;
      seconds = 0;
      continue;
    }
    if (++seconds >= limit) {
      std::fprintf(stderr, "\n[  HUNG    ] %s has run for %d s: stopped here\n",
                   kRunning->name.c_str(), seconds);
      std::fflush(stdout);
      std::fflush(stderr);
#ifdef _WIN32
      // A hung process may not get through an orderly exit either.
      TerminateProcess(GetCurrentProcess(), 1);
#endif
      std::_Exit(1);
    }
  }
}

class HangWatch : public ::testing::EmptyTestEventListener {
 public:
  void OnTestProgramStart(const ::testing::UnitTest&) override {
    const char* setting = std::getenv("LUMORA_TEST_HANG_SECONDS");
    const int limit = setting != nullptr && std::atoi(setting) > 0 ? std::atoi(setting) : 240;
    std::thread([limit] { Watch(limit); }).detach();
  }

  void OnTestStart(const ::testing::TestInfo& test) override {
    const std::lock_guard<std::mutex> lock(kRunning->mutex);
    kRunning->name = std::string(test.test_suite_name()) + "." + test.name();
    ++kRunning->started;
  }

  void OnTestEnd(const ::testing::TestInfo&) override {
    const std::lock_guard<std::mutex> lock(kRunning->mutex);
    kRunning->name.clear();
  }
};

// Registered before main() runs, so it serves the executables that use GoogleTest's own main().
const bool kRegistered = [] {
  ::testing::UnitTest::GetInstance()->listeners().Append(new HangWatch);
  return true;
}();

}  // namespace
