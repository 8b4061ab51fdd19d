// What the frame benchmark and its floor share, so that they differ only in how a frame is
// drawn: the window, the clock since launch, the frame loop and the report lines.
#pragma once

#include <glm/glm.hpp>

// The program's own window: benchWindowSize's, RGBA, double-buffered, depth, multisampled.
// It opens BENCH_WINDOW_Y pixels down the screen, so that two programs can run side by side
// without covering each other (a covered window would be spared part of its swap).
void openBenchWindow(int* argc, char** argv, const char* title);

// The desktop: 1280 by 720. The web: the canvas's displayed size in device pixels, as the
// city's page sizes its drawing buffer, so that a page may measure any screen's canvas.
glm::vec2 benchWindowSize();

// Seconds on the monotonic clock since the driver launched this process (it passes its
// launch reading, in nanoseconds, in BENCH_LAUNCH_NS); from process start when run by hand.
double secondsSinceLaunch();

// The desktop: one turn of the program's loop: pending window events, the frame, the swap.
// Returns the time of the swap in seconds since launch.
double drawFrame(void (*draw)());

// The desktop: draws and reports the first frame, then for each number n read from standard
// input draws n frames and reports the milliseconds between each two successive swaps, and
// the process's CPU time between them, until the input ends. The driver thus makes two
// programs take turns frame by frame.
// The web: draws a frame in every animation frame, as the city's page does, and reports for
// each the milliseconds since the previous one began and its own time on the main thread,
// until the page is closed. Does not return.
void serveFrames(void (*draw)());

// One "name value" line of the report that the driver reads.
void reportValue(const char* name, double value);
