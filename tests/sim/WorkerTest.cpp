#include <gtest/gtest.h>
#include <pthread.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "sim/Worker.h"
#include "tests/sim/GridFixture.h"

using Clock = std::chrono::steady_clock;

// Two worker turns beside frames that commit every few milliseconds (ThreadSanitizer watches
// their lock). Each pause times the pass before it and takes the lock itself, which an
// error-checking lock refuses to a thread that holds it already; the first is the program's.
TEST(Worker, PausesLeaveTheLockFreeAndFramesSeeWholeGenerations) {
    City city;
    const Sites phases[] = {rowMajor({block(40, 40), rowBlinker(80, 80)}),
                            rowMajor({block(40, 40), columnBlinker(80, 80)})};
    city.build(phases[0]);
    pthread_mutexattr_t errorChecking;
    pthread_mutexattr_init(&errorChecking);
    pthread_mutexattr_settype(&errorChecking, PTHREAD_MUTEX_ERRORCHECK);
    pthread_mutex_t mutex;
    pthread_mutex_init(&mutex, &errorChecking);
    std::atomic<int> pauses(0);
    int pausesWithTheLockHeld = 0, halfComputed = 0;
    Clock::duration longestPass{}, programPause{};
    std::thread worker([&] {
        for (Clock::time_point start = Clock::now(); pauses < 2; start = Clock::now()) {
            workerTurn(city.cells, mutex, kZones, [&] {
                longestPass = std::max(longestPass, Clock::now() - start);
                pausesWithTheLockHeld += pthread_mutex_lock(&mutex) || pthread_mutex_unlock(&mutex);
                start = Clock::now();
                if (++pauses == 1) {
                    pauseBetweenPasses();
                    programPause = Clock::now() - start;
                }
            });
        }
    });
    while (pauses < 2) {
        pthread_mutex_lock(&mutex);
        const Sites drawn = city.drawAndCommit();
        pthread_mutex_unlock(&mutex);
        halfComputed += drawn != phases[0] && drawn != phases[1];
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    worker.join();
    EXPECT_EQ(halfComputed, 0) << "frames drew generations half computed";
    EXPECT_EQ(pausesWithTheLockHeld, 0);
    EXPECT_LT(longestPass, std::chrono::seconds(1)) << "a pass held the lock a frozen frame's time";
    EXPECT_TRUE(programPause >= std::chrono::seconds(2) && programPause < std::chrono::seconds(3));
}
