// Routine chores around GL shader programs: reading sources, reporting GL errors and info
// logs, the version check, location look-ups that warn, and attribute-array calls that
// silently skip a missing (negative) location.
#pragma once

#include "render/OpenGL.h"

namespace GLSL {

int printError();
void printShaderInfoLog(GLuint shader);
void printProgramInfoLog(GLuint program);
// False, after a line naming the version found, below GL 2.0 (or OpenGL ES 2.0).
bool checkVersion();
// The major and minor numbers of a GL_VERSION text, desktop ("2.1 Mesa ...") or ES
// ("OpenGL ES 3.0 (WebGL 2.0)"); false when it has none.
bool readVersion(const char* text, int* major, int* minor);
char* textFileRead(const char* path);
int textFileWrite(const char* path, const char* text);
GLint getAttribLocation(GLuint program, const char* name);
GLint getUniformLocation(GLuint program, const char* name);
void enableVertexAttribArray(GLint location);
void disableVertexAttribArray(GLint location);
void vertexAttribPointer(GLint location, GLint size, GLenum type, GLboolean normalized,
                         GLsizei stride, const GLvoid* pointer);

}  // namespace GLSL
