// The GLUT callbacks: input, reshape, paced idle ticks and the display.
#pragma once

void reshapeGL(int width, int height);
void idleGL();
void keyboardGL(unsigned char key, int x, int y);
void keyboardUpGL(unsigned char key, int x, int y);
void entryGL(int state);
void passiveMotionGL(int x, int y);
void drawGL();
