// GLUT, for the app/ files: after the program's GL header, which Windows' loader needs to
// come before any other GL header, GLUT's included.
#pragma once

#include "render/OpenGL.h"

#include <GL/glut.h>
