#include <gtest/gtest.h>
#include <pthread.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "sim/Worker.h"
#include "tests/sim/GridFixture.h"

namespace {

// A block and a blinker: seven buildings in every generation, whatever the commits.
const std::vector<Site> kBlock = blockAt(40, 40);
const Site kBlinkerMiddle{80, 80};

void buildBlockAndBlinker(CellGrid& cells) {
    resetGrid(cells, kZones.residential);
    build(cells, joined({kBlock, rowBlinkerAt(kBlinkerMiddle.row, kBlinkerMiddle.col)}));
}

// What a frame must find whenever it holds the lock.
testing::AssertionResult isConsistent(const CellGrid& cells) {
    const Cell& first = cells[kBlock[0].row][kBlock[0].col];
    for (const Site& site : kBlock) {
        const Cell& cell = cells[site.row][site.col];
        if (cell.footprint != first.footprint || cell.height != first.height) {
            return testing::AssertionFailure() << "block cells differ in size";
        }
    }
    for (int r = 0; r < GRID_SIDE; ++r) {
        for (int c = 0; c < GRID_SIDE; ++c) {
            const Cell& cell = cells[r][c];
            if (cell.state != 1 && (cell.footprint != 1.0f || cell.height != 1.0f ||
                                    cell.zone != kZones.residential)) {
                return testing::AssertionFailure() << "dead cell " << r << "," << c << " is built";
            }
        }
    }
    const std::vector<Site> live = liveSites(cells);
    const int r = kBlinkerMiddle.row;
    const int c = kBlinkerMiddle.col;
    if (live != rowMajor(joined({kBlock, rowBlinkerAt(r, c)})) &&
        live != rowMajor(joined({kBlock, columnBlinkerAt(r, c)}))) {
        return testing::AssertionFailure() << live.size() << " live cells, not block and blinker";
    }
    return testing::AssertionSuccess();
}

// The worker thread outlives its test, so what it touches has static storage.
CellGrid workerCells;
pthread_mutex_t workerMutex = PTHREAD_MUTEX_INITIALIZER;

}  // namespace

TEST(GenerationPass, WaitsForTheLockThenComputesOneGeneration) {
    CityGrid grid;
    pthread_mutex_t mutex = PTHREAD_MUTEX_INITIALIZER;
    grid.build(rowBlinkerAt(100, 100));
    const Site side{99, 100};

    pthread_mutex_lock(&mutex);
    std::thread worker([&] { generationPass(grid.cells(), mutex, kZones); });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(grid.at(side).nextState, 0);
    pthread_mutex_unlock(&mutex);
    worker.join();

    EXPECT_EQ(grid.at(side).nextState, 1);
    EXPECT_EQ(grid.at({100, 99}).nextState, 0);
    EXPECT_EQ(pthread_mutex_trylock(&mutex), 0);
    pthread_mutex_unlock(&mutex);
}

TEST(GenerationPass, PassesOnOneThreadBesideCommitsOnAnotherKeepTheGridConsistent) {
    constexpr int kPasses = 40;
    CityGrid grid;
    pthread_mutex_t mutex = PTHREAD_MUTEX_INITIALIZER;
    buildBlockAndBlinker(grid.cells());

    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int pass = 0; pass < kPasses; ++pass) {
            generationPass(grid.cells(), mutex, kZones);
        }
        done = true;
    });
    testing::AssertionResult consistent = testing::AssertionSuccess();
    int commits = 0;
    while (!done && consistent) {
        pthread_mutex_lock(&mutex);
        consistent = isConsistent(grid.cells());
        commit(grid.cells());
        pthread_mutex_unlock(&mutex);
        ++commits;
        std::this_thread::yield();
    }
    worker.join();
    EXPECT_TRUE(consistent);
    EXPECT_GT(commits, 0);

    // The block and the blinker's middle survive every pass, committed or not.
    float footprint = 1.0f;
    for (int pass = 0; pass < kPasses; ++pass) {
        footprint = grown(footprint, 0.05);
    }
    for (const Site& site : joined({kBlock, {kBlinkerMiddle}})) {
        EXPECT_EQ(grid.at(site).footprint, footprint);
    }
}

TEST(Worker, RunsPassesEveryTwoSecondsBesideCommittingFramesAndTheGridStaysConsistent) {
    buildBlockAndBlinker(workerCells);
    std::thread([] { runWorker(workerCells, workerMutex, kZones); }).detach();

    const float afterTwoPasses = grown(grown(1.0f, 0.05), 0.05);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    testing::AssertionResult consistent = testing::AssertionSuccess();
    float footprint = 1.0f;
    while (consistent && footprint < afterTwoPasses &&
           std::chrono::steady_clock::now() < deadline) {
        pthread_mutex_lock(&workerMutex);
        consistent = isConsistent(workerCells);
        footprint = workerCells[kBlock[0].row][kBlock[0].col].footprint;
        commit(workerCells);
        pthread_mutex_unlock(&workerMutex);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }

    // An empty city leaves the still-running worker no survivor to draw rand() for.
    pthread_mutex_lock(&workerMutex);
    resetGrid(workerCells, kZones.residential);
    pthread_mutex_unlock(&workerMutex);

    EXPECT_TRUE(consistent);
    EXPECT_GE(footprint, afterTwoPasses);
}
