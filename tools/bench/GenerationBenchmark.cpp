// The worker's generation pass over the whole grid, timed in-process: once on the seeded
// city (about half the sites live) and once on a late city (about 4 % live), grown from
// that seed by the rule itself so that its still lifes and oscillators are real ones.
#include <benchmark/benchmark.h>
#include <pthread.h>

#include <cstdlib>

#include "sim/Generation.h"
#include "sim/Grid.h"
#include "sim/Worker.h"

// The pass only stores zone addresses, so three distinct bytes stand in for the objects.
static char zoneStandIns[3];
static const Zones ZONES{reinterpret_cast<TavoObject*>(&zoneStandIns[0]),
                         reinterpret_cast<TavoObject*>(&zoneStandIns[1]),
                         reinterpret_cast<TavoObject*>(&zoneStandIns[2])};
static const unsigned SEED = 12345;

static int liveSites(const CellGrid& cells) {
    int live = 0;
    for (const auto& row : cells) {
        for (const Cell& cell : row) {
            live += cell.state;
        }
    }
    return live;
}

// Seeds the grid as start-up does, then runs generations with their commit until at most
// livePercent of the sites are alive.
static void growCity(CellGrid& cells, int livePercent) {
    srand(SEED);
    resetGrid(cells, ZONES.residential);
    seedGrid(cells);
    while (liveSites(cells) * 100 > livePercent * GRID_SIDE * GRID_SIDE) {
        computeNextGeneration(cells, ZONES);
        drawAndCommit(cells, [](int, int, const Cell&) {});
    }
}

// Passes never commit, so every iteration sees the same live set: only sizes keep growing.
// Repetitions of one density share the city grown for the first of them.
static void generationPassAt(benchmark::State& state) {
    static CellGrid cells;
    static int grownTo = -1;
    const int livePercent = static_cast<int>(state.range(0));
    if (grownTo != livePercent) {
        growCity(cells, livePercent);
        grownTo = livePercent;
    }
    pthread_mutex_t mutex = PTHREAD_MUTEX_INITIALIZER;
    for (auto _ : state) {
        generationPass(cells, mutex, ZONES);
        benchmark::ClobberMemory();
    }
    state.counters["live_percent"] = 100.0 * liveSites(cells) / (GRID_SIDE * GRID_SIDE);
}
BENCHMARK(generationPassAt)->Arg(50)->Arg(4)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
