// Linux's GL library exports every function the program calls: nothing to load.
#include "render/OpenGL.h"

bool loadGLFunctions() {
    return true;
}
