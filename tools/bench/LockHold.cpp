#include "tools/bench/LockHold.h"

#include <pthread.h>

#include <algorithm>
#include <chrono>

#include "app/Globals.h"

using Clock = std::chrono::steady_clock;

// Statics are built on the main thread, the one that draws.
static const pthread_t DRAWING_THREAD = pthread_self();
static thread_local Clock::time_point acquiredAt;
// Written only by the thread that holds the grid lock, just before it lets go.
static LockHolds holds = {0.0, 0.0, 0, 0};

extern "C" int __real_pthread_mutex_lock(pthread_mutex_t* mutex);
extern "C" int __real_pthread_mutex_unlock(pthread_mutex_t* mutex);

extern "C" int __wrap_pthread_mutex_lock(pthread_mutex_t* mutex) {
    int result = __real_pthread_mutex_lock(mutex);
    if (mutex == &stateMutex) {
        acquiredAt = Clock::now();
    }
    return result;
}

extern "C" int __wrap_pthread_mutex_unlock(pthread_mutex_t* mutex) {
    if (mutex == &stateMutex) {
        double heldMs =
            std::chrono::duration<double, std::milli>(Clock::now() - acquiredAt).count();
        if (pthread_equal(pthread_self(), DRAWING_THREAD)) {
            holds.longestFrameMs = std::max(holds.longestFrameMs, heldMs);
            ++holds.frames;
        } else {
            holds.longestPassMs = std::max(holds.longestPassMs, heldMs);
            ++holds.passes;
        }
    }
    return __real_pthread_mutex_unlock(mutex);
}

LockHolds lockHolds() {
    __real_pthread_mutex_lock(&stateMutex);
    LockHolds now = holds;
    __real_pthread_mutex_unlock(&stateMutex);
    return now;
}
