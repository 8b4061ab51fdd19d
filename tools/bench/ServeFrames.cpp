// The desktop's frame loop for the benchmarks: frames drawn in a loop of the program's own,
// on request from standard input, each timed from swap to swap.
#include <GL/freeglut.h>

#include <cstdio>
#include <ctime>

#include "tools/bench/BenchLoop.h"

glm::vec2 benchWindowSize() {
    return glm::vec2(1280.0f, 720.0f);
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
