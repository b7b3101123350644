#pragma once
// Thread-safety annotations: data shared between threads names the mutex that guards it, and
// functions name the mutexes they need, take or give back. Under clang with -Wthread-safety
// the compiler checks every access; other compilers see nothing.
//
// std::mutex carries no capability attribute in libstdc++, so annotated data is guarded by
// TMutex (a std::mutex that says it is a capability) and locked with TMutexLock.

#include <mutex>

#if defined(__clang__)
#define KVT_THREAD_ANNOTATION(x) __attribute__((x))
#else
#define KVT_THREAD_ANNOTATION(x)
#endif

#define CAPABILITY(x) KVT_THREAD_ANNOTATION(capability(x))
#define SCOPED_CAPABILITY KVT_THREAD_ANNOTATION(scoped_lockable)
#define GUARDED_BY(x) KVT_THREAD_ANNOTATION(guarded_by(x))
#define PT_GUARDED_BY(x) KVT_THREAD_ANNOTATION(pt_guarded_by(x))
#define REQUIRES(...) KVT_THREAD_ANNOTATION(requires_capability(__VA_ARGS__))
#define EXCLUDES(...) KVT_THREAD_ANNOTATION(locks_excluded(__VA_ARGS__))
#define ACQUIRE(...) KVT_THREAD_ANNOTATION(acquire_capability(__VA_ARGS__))
#define RELEASE(...) KVT_THREAD_ANNOTATION(release_capability(__VA_ARGS__))
#define TRY_ACQUIRE(...) KVT_THREAD_ANNOTATION(try_acquire_capability(__VA_ARGS__))
#define RETURN_CAPABILITY(x) KVT_THREAD_ANNOTATION(lock_returned(x))
#define NO_THREAD_SAFETY_ANALYSIS KVT_THREAD_ANNOTATION(no_thread_safety_analysis)

namespace kvt {

// A std::mutex the analysis knows as a capability. Not recursive.
class CAPABILITY("mutex") TMutex {
public:
  TMutex() = default;
  TMutex(const TMutex&) = delete;
  TMutex& operator=(const TMutex&) = delete;

  void Lock() ACQUIRE() { mutex.lock(); }
  void Unlock() RELEASE() { mutex.unlock(); }
  bool TryLock() TRY_ACQUIRE(true) { return mutex.try_lock(); }

private:
  std::mutex mutex;
};

// Holds a TMutex for the life of a scope.
class SCOPED_CAPABILITY TMutexLock {
public:
  explicit TMutexLock(TMutex& mutex) ACQUIRE(mutex) : mutex(mutex) { mutex.Lock(); }
  ~TMutexLock() RELEASE() { mutex.Unlock(); }
  TMutexLock(const TMutexLock&) = delete;
  TMutexLock& operator=(const TMutexLock&) = delete;

private:
  TMutex& mutex;
};

}  // namespace kvt
