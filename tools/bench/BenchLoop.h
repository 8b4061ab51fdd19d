// What the frame benchmark and its floor share, so that they differ only in how a frame is
// drawn: the window, the clock since launch, the timed frame loop and the report lines.
#pragma once

#include <vector>

// The program's own window: 1280 by 720, RGBA, double-buffered, depth, multisampled.
void openBenchWindow(int* argc, char** argv, const char* title);

// Seconds on the monotonic clock since the driver launched this process (it passes its
// launch reading, in nanoseconds, in BENCH_LAUNCH_NS); from process start when run by hand.
double secondsSinceLaunch();

// Draws frames until count are done or, with a positive limit, until that many seconds
// have passed since launch; each handles pending window events, draws and swaps.
// Returns the time of each swap in seconds since launch.
std::vector<double> drawFrames(int count, double limitSeconds, void (*draw)());

// Prints the GL renderer, the first swap's time and the median time between later swaps,
// leaving out the first warm-up swaps (shader variants are built on first use).
void reportFrames(const std::vector<double>& swaps);

// One "name value" line of the report that the driver reads.
void reportValue(const char* name, double value);
