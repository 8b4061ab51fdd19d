// The benchmarks' window, clock and report lines, on the desktop and on the web alike; the
// frame loop is each platform's own (ServeFrames.cpp, web/ServeFrames.cpp).
#include "tools/bench/BenchLoop.h"

#include <GL/glut.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

using Clock = std::chrono::steady_clock;

// Without a launch reading from the driver, the clock starts when the program's statics do.
static const Clock::time_point PROCESS_START = Clock::now();

void openBenchWindow(int* argc, char** argv, const char* title) {
    const char* top = getenv("BENCH_WINDOW_Y");
    glutInit(argc, argv);
    glutInitWindowPosition(0, top == nullptr ? 0 : atoi(top));
    glutInitWindowSize(static_cast<int>(benchWindowSize().x),
                       static_cast<int>(benchWindowSize().y));
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_MULTISAMPLE);
    glutCreateWindow(title);
    // Frames are drawn by the frame loop; GLUT's event handling needs a display callback.
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

void reportValue(const char* name, double value) {
    printf("%s %.6f\n", name, value);
}
