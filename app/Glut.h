// GLUT, for the app/ files: after the program's GL header, which Windows' loader needs to
// come before any other GL header, GLUT's included. Its standard part alone: the program
// calls nothing of freeglut's extensions, and that header is the one every platform's GLUT
// ships (Emscripten's has no freeglut.h, Windows' freeglut build no glut.h).
#pragma once

#include "render/OpenGL.h"

#include <GL/freeglut_std.h>
