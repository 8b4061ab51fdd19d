#include <gtest/gtest.h>
#include <pthread.h>

#include <chrono>
#include <thread>

#include "sim/Worker.h"
#include "tests/sim/GridFixture.h"

// The worker thread outlives its test, so what it touches has static storage of its own.
static CellGrid workerCells;
static pthread_mutex_t workerMutex = PTHREAD_MUTEX_INITIALIZER;

// What a frame must draw whenever it holds the lock: the block beside the blinker in one of
// its two phases.
static bool isConsistent(const Sites& drawn) {
    return drawn == rowMajor({block(40, 40), rowBlinker(80, 80)}) ||
           drawn == rowMajor({block(40, 40), columnBlinker(80, 80)});
}

TEST(Worker, PassesEveryTwoSecondsUnderTheLockBesideCommittingFramesAndTheGridStaysConsistent) {
    City city(workerCells);
    city.build(rowMajor({block(40, 40), rowBlinker(80, 80)}));
    pthread_mutex_lock(&workerMutex);
    std::thread([] { runWorker(workerCells, workerMutex, kZones); }).detach();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(city.at({79, 80}).nextState, 0) << "a pass ran while a frame held the lock";
    pthread_mutex_unlock(&workerMutex);

    // Frames commit every 20 ms until the worker's second pass, two seconds after its first.
    const auto start = std::chrono::steady_clock::now();
    bool consistent = true;
    float footprint = 1.0f;
    while (consistent && footprint < grown(0.05, 2) &&
           std::chrono::steady_clock::now() < start + std::chrono::seconds(20)) {
        pthread_mutex_lock(&workerMutex);
        footprint = city.at({80, 80}).footprint;
        consistent = isConsistent(city.drawAndCommit());
        pthread_mutex_unlock(&workerMutex);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_TRUE(consistent);
    EXPECT_EQ(footprint, grown(0.05, 2));
    EXPECT_GT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1900));
}
