#include "tools/bench/BenchLoop.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

static const int WARM_UP_SWAPS = 2;

using Clock = std::chrono::steady_clock;

// Without a launch reading from the driver, the clock starts when the program's statics do.
static const Clock::time_point PROCESS_START = Clock::now();

void openBenchWindow(int* argc, char** argv, const char* title) {
    glutInit(argc, argv);
    glutInitWindowSize(1280, 720);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_MULTISAMPLE);
    glutCreateWindow(title);
    // Frames are drawn by drawFrames; the event handling it runs needs a display callback.
    glutDisplayFunc([] {});
}

double secondsSinceLaunch() {
    const char* launch = getenv("BENCH_LAUNCH_NS");
    Clock::time_point start =
        launch == nullptr
            ? PROCESS_START
            : Clock::time_point(std::chrono::nanoseconds(strtoll(launch, nullptr, 10)));
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::vector<double> drawFrames(int count, double limitSeconds, void (*draw)()) {
    std::vector<double> swaps;
    while (static_cast<int>(swaps.size()) < count &&
           (limitSeconds <= 0.0 || swaps.empty() || swaps.back() < limitSeconds)) {
        glutMainLoopEvent();
        draw();
        glutSwapBuffers();
        swaps.push_back(secondsSinceLaunch());
    }
    return swaps;
}

static double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

void reportFrames(const std::vector<double>& swaps) {
    printf("renderer %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    reportValue("first_swap_s", swaps.front());
    std::vector<double> intervals;
    for (size_t i = WARM_UP_SWAPS + 1; i < swaps.size(); ++i) {
        intervals.push_back(1000.0 * (swaps[i] - swaps[i - 1]));
    }
    if (!intervals.empty()) {
        reportValue("frame_ms", median(intervals));
    }
}

void reportValue(const char* name, double value) {
    printf("%s %.6f\n", name, value);
}
