// Idle-time pacing: a tick turns and moves the camera and requests one frame.
#pragma once

// One sixtieth of a second; the clock counts whole milliseconds, so ticks come 17 ms apart.
constexpr double TICK_MS = 1000.0 / 60.0;

// Whether an idle call at now (ms) starts a tick after the one accepted at lastTick.
inline bool tickDue(int now, int lastTick) {
    return static_cast<double>(now - lastTick) > TICK_MS;
}
