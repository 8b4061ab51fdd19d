// opengl32.dll exports GL 1.1 only; glad asks the driver for the rest, through the context.
#include "render/OpenGL.h"

bool loadGLFunctions() {
    return gladLoaderLoadGL() != 0;
}
