// How long the frame and the generation worker hold the grid lock, watched from outside
// their code: the frame benchmark is linked with --wrap=pthread_mutex_lock and
// --wrap=pthread_mutex_unlock, so their own lock calls pass through here first.
#pragma once

struct LockHolds {
    double longestFrameMs;  // held by the main thread, which draws the frames
    double longestPassMs;   // held by any other thread: the worker's passes
    int frames;
    int passes;
};

// The longest holds so far, read under the grid lock.
LockHolds lockHolds();
