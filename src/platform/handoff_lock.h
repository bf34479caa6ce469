// A lock and a condition variable for threads that hand work to each other many thousand times
// a second (the reachability pass's dispatcher, workers and UI thread). On Windows they are the
// system's slim lock and condition variable, which under Wine wait and wake without a request
// to the Wine server; the C++ library's there make one or more on every contended lock, wait and
// wake. Natively they are the C++ library's (which the thread sanitizer knows).
#pragma once

#include <mutex>

#ifndef _WIN32
#include <condition_variable>
#endif

namespace lumora::platform {

#ifdef _WIN32

// Meets the standard's Lockable: use it with std::lock_guard and std::unique_lock.
class HandoffLock {
 public:
  HandoffLock() = default;
  HandoffLock(const HandoffLock&) = delete;
  HandoffLock& operator=(const HandoffLock&) = delete;

  void lock();
  bool try_lock();
  void unlock();

 private:
  friend class HandoffCondition;
  void* state_ = nullptr;  // an SRWLOCK, which starts as all zeros
};

class HandoffCondition {
 public:
  HandoffCondition() = default;
  HandoffCondition(const HandoffCondition&) = delete;
  HandoffCondition& operator=(const HandoffCondition&) = delete;

  // Waits until `ready()` holds; `lock` is held on return, as with std::condition_variable.
  template <typename Predicate>
  void wait(std::unique_lock<HandoffLock>& lock, Predicate ready) {
    while (!ready()) {
      Sleep(*lock.mutex());
    }
  }
  void notify_one();
  void notify_all();

 private:
  void Sleep(HandoffLock& lock);
  void* state_ = nullptr;  // a CONDITION_VARIABLE, which starts as all zeros
};

#else

using HandoffLock = std::mutex;
using HandoffCondition = std::condition_variable;

#endif

}  // namespace lumora::platform
