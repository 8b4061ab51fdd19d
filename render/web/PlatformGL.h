// The web: Emscripten's GL header, whose 2.0 functions (GL_GLEXT_PROTOTYPES, set by the
// build) call WebGL.
#pragma once

#include <GL/gl.h>
