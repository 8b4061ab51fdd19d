// The program's own frame, timed: the real scene loading, GL set-up and frame with its
// swap, drawn in a loop as fast as it goes. Run from the data directory:
//   frame_bench LIVE FRAMES     a fixed city of LIVE buildings (every next state is the
//                               state, so the frame's commit keeps it), FRAMES frames
//   frame_bench --lock SECONDS  the seeded city beside the real generation worker
#include <pthread.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/Globals.h"
#include "render/Frame.h"
#include "render/Setup.h"
#include "scene/Scene.h"
#include "sim/Grid.h"
#include "sim/Worker.h"
#include "tools/bench/BenchCity.h"
#include "tools/bench/BenchLoop.h"
#include "tools/bench/LockHold.h"

static void placeCity(int live) {
    TavoObject* const zones[] = {&residential, &commercial, &industrial};
    resetGrid(cells, &residential);
    for (const BenchBuilding& building : benchCity(live)) {
        Cell& cell = cells[building.row][building.col];
        cell.state = 1;
        cell.nextState = 1;
        cell.footprint = building.footprint;
        cell.height = building.height;
        cell.zone = zones[building.zone];
    }
}

static void* runGenerations(void*) {
    runWorker(cells, stateMutex, cityZones());
}

static void startWorker() {
    pthread_t worker;
    pthread_create(&worker, nullptr, runGenerations, nullptr);
}

int main(int argc, char** argv) {
    openBenchWindow(&argc, argv, "frame benchmark");
    if (argc != 3) {
        fprintf(stderr, "usage: %s LIVE FRAMES | --lock SECONDS\n", argv[0]);
        return 2;
    }
    const bool lockRun = strcmp(argv[1], "--lock") == 0;

    double loadStart = secondsSinceLaunch();
    loadScene();
    double setupStart = secondsSinceLaunch();
    initGL();
    double setupEnd = secondsSinceLaunch();
    pthread_mutex_init(&stateMutex, nullptr);
    camera.setWindowSize(1280.0f, 720.0f);

    std::vector<double> swaps;
    if (lockRun) {
        startWorker();
        swaps = drawFrames(INT_MAX, atof(argv[2]), renderFrame);
    } else {
        placeCity(atoi(argv[1]));
        swaps = drawFrames(atoi(argv[2]), 0.0, renderFrame);
    }
    reportFrames(swaps);
    reportValue("scene_load_s", setupStart - loadStart);
    reportValue("gl_setup_s", setupEnd - setupStart);
    if (lockRun) {
        LockHolds holds = lockHolds();
        reportValue("lock_frame_ms", holds.longestFrameMs);
        reportValue("lock_pass_ms", holds.longestPassMs);
        reportValue("lock_frames", holds.frames);
        reportValue("lock_passes", holds.passes);
    }
    // The worker never ends and may hold the lock: leave without destroying anything.
    exit(0);
}
