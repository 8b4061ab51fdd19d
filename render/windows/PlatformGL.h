// Windows: glad's function pointers, declared before any GL header (GLUT's, GLU's) that
// would otherwise bring opengl32's 1.1 prototypes; GLU's header needs windows.h's macros.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <glad/gl.h>
