// The program's own options, answered before any window or display is tried; every other
// argument is left for GLUT.
#pragma once

// Prints the usage for --help, or the name and version for --version, and returns true when
// the program should then end with status 0.
bool answeredWithoutWindow(int argc, char** argv);
