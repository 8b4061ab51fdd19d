// The GLUT callbacks: input, reshape, paced idle ticks and the display.
#pragma once

void reshapeGL(int width, int height);
void idleGL();
void keyboardGL(unsigned char key, int x, int y);
void keyboardUpGL(unsigned char key, int x, int y);
void passiveMotionGL(int x, int y);
void drawGL();

// One frame request per tick, at most one tick every 17 ms (the clock counts whole ms).
constexpr double TICK_MS = 1000.0 / 60.0;

// Whether an idle call at now (ms) starts a tick after the one accepted at lastTick.
bool tickDue(int now, int lastTick);
