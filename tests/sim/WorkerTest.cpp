#include <gtest/gtest.h>
#include <pthread.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "sim/Worker.h"
#include "tests/sim/GridFixture.h"

using Clock = std::chrono::steady_clock;

static double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// What a frame must draw whenever it holds the lock: the block beside the blinker in one of
// its two phases.
static bool isConsistent(const Sites& drawn) {
    return drawn == rowMajor({block(40, 40), rowBlinker(80, 80)}) ||
           drawn == rowMajor({block(40, 40), columnBlinker(80, 80)});
}

// The worker turns twice beside frames that commit every few milliseconds; its pauses, the
// program's own the first time, time the pass before them and take the lock themselves: an
// error-checking lock refuses a thread that holds it already.
TEST(Worker, PassesHoldTheLockBrieflyPausesLeaveItFreeAndFramesBesideThemSeeWholeGenerations) {
    City city;
    city.build(rowMajor({block(40, 40), rowBlinker(80, 80)}));
    pthread_mutexattr_t errorChecking;
    pthread_mutexattr_init(&errorChecking);
    pthread_mutexattr_settype(&errorChecking, PTHREAD_MUTEX_ERRORCHECK);
    pthread_mutex_t mutex;
    pthread_mutex_init(&mutex, &errorChecking);
    std::atomic<int> pauses(0);
    std::vector<double> passMs;  // the worker's own until it is joined
    int pausesWithTheLockHeld = 0;
    double programPauseMs = 0.0;

    pthread_mutex_lock(&mutex);
    std::thread worker([&] {
        for (int turn = 0; turn < 2; ++turn) {
            const Clock::time_point start = Clock::now();
            workerTurn(city.cells, mutex, kZones, [&] {
                passMs.push_back(msSince(start));
                if (pthread_mutex_lock(&mutex) == 0) {
                    pthread_mutex_unlock(&mutex);
                } else {
                    ++pausesWithTheLockHeld;
                }
                const Clock::time_point paused = Clock::now();
                if (++pauses == 1) {
                    pauseBetweenPasses();
                    programPauseMs = msSince(paused);
                }
            });
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(pauses, 0) << "a pass ran while a frame held the lock";
    pthread_mutex_unlock(&mutex);

    bool consistent = true;
    while (pauses < 2) {
        pthread_mutex_lock(&mutex);
        consistent = consistent && isConsistent(city.drawAndCommit());
        pthread_mutex_unlock(&mutex);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    worker.join();
    pthread_mutex_destroy(&mutex);
    EXPECT_TRUE(consistent);
    EXPECT_EQ(pausesWithTheLockHeld, 0);
    for (double ms : passMs) {
        EXPECT_LT(ms, 1000.0) << "a pass held the lock for a frozen frame's time";
    }
    EXPECT_GE(programPauseMs, 2000.0);
    EXPECT_LT(programPauseMs, 3000.0);
    EXPECT_NEAR(city.at({40, 40}).footprint, 1.1f, 1e-6f);
}
