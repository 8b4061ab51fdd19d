// Feeds a float attribute from a GL buffer: enables the array (a missing location is
// skipped) and points it at the tightly packed buffer. The buffer stays bound.
#pragma once

#include "render/GLSL.h"

inline void bindFloatAttribute(GLint location, GLuint buffer, GLint components) {
    GLSL::enableVertexAttribArray(location);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    GLSL::vertexAttribPointer(location, components, GL_FLOAT, GL_FALSE, 0, nullptr);
}
