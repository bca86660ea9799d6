#pragma once
// Qt's event queue orders everything a worker wrote before posting an event before what the
// window's thread reads when it takes the event. Qt does this with its own futex-based locks,
// which ThreadSanitizer cannot see (Qt is not built with it), so a thread-checked build is told
// here; in every other build these do nothing.

#if defined(__SANITIZE_THREAD__)
#define KORVEX_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define KORVEX_THREAD_SANITIZER 1
#endif
#endif

#ifdef KORVEX_THREAD_SANITIZER
#include <sanitizer/tsan_interface.h>
#endif

namespace QueueHandOff {

#ifdef KORVEX_THREAD_SANITIZER
// The poster, just before the event goes into the queue.
inline void handOver(const void* event) { __tsan_release(const_cast<void*>(event)); }
// The receiving thread, before it reads (or frees) the event.
inline void takeOver(const void* event) { __tsan_acquire(const_cast<void*>(event)); }
#else
inline void handOver(const void*) {}
inline void takeOver(const void*) {}
#endif

} // namespace QueueHandOff
