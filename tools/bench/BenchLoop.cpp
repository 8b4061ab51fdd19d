#include "tools/bench/BenchLoop.h"

#include <GL/freeglut.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

using Clock = std::chrono::steady_clock;

// Without a launch reading from the driver, the clock starts when the program's statics do.
static const Clock::time_point PROCESS_START = Clock::now();

void openBenchWindow(int* argc, char** argv, const char* title) {
    const char* top = getenv("BENCH_WINDOW_Y");
    glutInit(argc, argv);
    glutInitWindowPosition(0, top == nullptr ? 0 : atoi(top));
    glutInitWindowSize(1280, 720);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_MULTISAMPLE);
    glutCreateWindow(title);
    // Frames are drawn by drawFrame; the event handling it runs needs a display callback.
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

double drawFrame(void (*draw)()) {
    glutMainLoopEvent();
    draw();
    glutSwapBuffers();
    return secondsSinceLaunch();
}

// CPU time of all the process's threads, the renderer's included: unlike the time between
// swaps, it hardly grows when other processes keep the CPUs busy.
static double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

void serveFrames(void (*draw)()) {
    reportValue("first_swap_s", drawFrame(draw));
    printf("renderer %s\nready\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    fflush(stdout);
    int frames = 0;
    while (scanf("%d", &frames) == 1) {
        double last = drawFrame(draw);
        double lastCpu = cpuSeconds();
        for (int i = 1; i < frames; ++i) {
            double swap = drawFrame(draw);
            double cpu = cpuSeconds();
            reportValue("interval_ms", 1000.0 * (swap - last));
            reportValue("cpu_ms", 1000.0 * (cpu - lastCpu));
            last = swap;
            lastCpu = cpu;
        }
        printf("done\n");
        fflush(stdout);
    }
}

void reportValue(const char* name, double value) {
    printf("%s %.6f\n", name, value);
}
