// The program's own frame, timed: the real scene loading, GL set-up and frame with its
// swap. Run from the data directory:
//   frame_bench LIVE            a fixed city of LIVE buildings (every next state is the
//                               state, so the frame's commit keeps it), frames on request
//                               from standard input (see serveFrames)
//   frame_bench --lock SECONDS  the seeded city beside the real generation worker, frames
//                               as fast as they go; reports the longest lock holds (not
//                               on the web, where a page cannot draw in a loop of its own)
#include <pthread.h>

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

#ifndef __EMSCRIPTEN__
static void* runGenerations(void*) {
    runWorker(cells, stateMutex, cityZones());
}

// Frames as fast as they go beside the worker's passes, as the program runs after start-up.
static void watchLockHolds(double seconds) {
    pthread_t worker;
    pthread_create(&worker, nullptr, runGenerations, nullptr);
    double swap = 0.0;
    while (swap < seconds) {
        swap = drawFrame(renderFrame);
    }
    LockHolds holds = lockHolds();
    reportValue("lock_frame_ms", holds.longestFrameMs);
    reportValue("lock_pass_ms", holds.longestPassMs);
    reportValue("lock_frames", holds.frames);
    reportValue("lock_passes", holds.passes);
}
#endif

int main(int argc, char** argv) {
    openBenchWindow(&argc, argv, "frame benchmark");
#ifdef __EMSCRIPTEN__
    const bool lockRun = false;
    const char* usage = "usage: %s LIVE\n";
#else
    const bool lockRun = argc == 3 && strcmp(argv[1], "--lock") == 0;
    const char* usage = "usage: %s LIVE | --lock SECONDS\n";
#endif
    if (argc != 2 && !lockRun) {
        fprintf(stderr, usage, argv[0]);
        return 2;
    }

    double loadStart = secondsSinceLaunch();
    loadScene();
    double setupStart = secondsSinceLaunch();
    initGL();
    double setupEnd = secondsSinceLaunch();
    pthread_mutex_init(&stateMutex, nullptr);
    camera.setWindowSize(benchWindowSize().x, benchWindowSize().y);

    reportValue("scene_load_s", setupStart - loadStart);
    reportValue("gl_setup_s", setupEnd - setupStart);
#ifndef __EMSCRIPTEN__
    if (lockRun) {
        watchLockHolds(atof(argv[2]));
        // The worker never ends and may hold the lock: leave without destroying anything.
        exit(0);
    }
#endif
    placeCity(atoi(argv[1]));
    serveFrames(renderFrame);
    return 0;
}
