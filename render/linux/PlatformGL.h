// Linux: the library's own prototypes, with GL_GLEXT_PROTOTYPES (set by the build) for 2.0's.
#pragma once

#include <GL/gl.h>
