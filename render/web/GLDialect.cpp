// WebGL: shaders rewritten into GLSL ES 1.00, and outlines drawn as lines over each mesh's
// edge buffer, since WebGL has no polygon mode.
#include "render/GLDialect.h"

#include "render/MeshArrays.h"
#include "render/ShaderDialect.h"
#include "render/StaticBuffer.h"

static bool outlinedNow = false;

std::string shaderSourceForThisGL(const char* fileText, bool fragment) {
    return toEssl100(fileText, fragment);
}

GLuint createEdgeBuffer(const std::vector<unsigned int>& triangleIndices) {
    return createStaticBuffer(GL_ELEMENT_ARRAY_BUFFER, triangleEdges(triangleIndices));
}

void setOutlined(bool outlined) {
    outlinedNow = outlined;
}

void drawTriangles(GLuint triangles, GLuint edges, GLsizei count) {
    // Each triangle's three indices become three lines of two.
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, outlinedNow ? edges : triangles);
    glDrawElements(outlinedNow ? GL_LINES : GL_TRIANGLES, outlinedNow ? 2 * count : count,
                   GL_UNSIGNED_INT, nullptr);
}
