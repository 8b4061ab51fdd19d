// The web: Emscripten's GL library binds every function itself. It has no GLU error names,
// so the ones WebGL can report are named here.
#include "render/OpenGL.h"

#include <GL/glu.h>

bool loadGLFunctions() {
    return true;
}

const GLubyte* gluErrorString(GLenum error) {
    const char* text = nullptr;
    switch (error) {
        case GL_NO_ERROR:
            text = "no error";
            break;
        case GL_INVALID_ENUM:
            text = "invalid enumerant";
            break;
        case GL_INVALID_VALUE:
            text = "invalid value";
            break;
        case GL_INVALID_OPERATION:
            text = "invalid operation";
            break;
        case GL_OUT_OF_MEMORY:
            text = "out of memory";
            break;
        case GL_INVALID_FRAMEBUFFER_OPERATION:
            text = "invalid framebuffer operation";
            break;
        default:
            break;
    }
    return reinterpret_cast<const GLubyte*>(text);
}
