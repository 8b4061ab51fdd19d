// The X display that GLUT is about to use, tried before GLUT is, whose own message on
// failure says nothing of what to do instead.
#pragma once

// Opens the display named by GLUT's -display option, or else by DISPLAY, and keeps it
// open until releaseDisplay. If it won't open, prints one line on standard error that says
// so and what works instead where the program runs from (a checkout or an installed copy),
// and returns false.
bool checkDisplay(int argc, char** argv);

// Closes the display that checkDisplay opened, once GLUT holds a connection of its own.
void releaseDisplay();
