// Desktop GL: the shader files' own dialect, and the polygon mode for outlines.
#include "render/GLDialect.h"

std::string shaderSourceForThisGL(const char* fileText, bool) {
    return fileText;
}

GLuint createEdgeBuffer(const std::vector<unsigned int>&) {
    return 0;
}

void setOutlined(bool outlined) {
    glPolygonMode(GL_FRONT_AND_BACK, outlined ? GL_LINE : GL_FILL);
}

void drawTriangles(GLuint triangles, GLuint, GLsizei count) {
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, triangles);
    glDrawElements(GL_TRIANGLES, count, GL_UNSIGNED_INT, nullptr);
}
