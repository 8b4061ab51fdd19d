// Creates a GL buffer filled once from a CPU array; the buffer stays bound to its target.
#pragma once

#include <vector>

#include "render/GLSL.h"

template <typename T>
GLuint createStaticBuffer(GLenum target, const std::vector<T>& data) {
    GLuint id = 0;
    glGenBuffers(1, &id);
    glBindBuffer(target, id);
    glBufferData(target, data.size() * sizeof(T), data.data(), GL_STATIC_DRAW);
    return id;
}
