// What desktop GL 2 and WebGL do differently, for the set-up and the frame: the shading
// language's dialect, and outlines, for which WebGL has no polygon mode. The build picks
// render/desktop/ or render/web/.
#pragma once

#include <string>
#include <vector>

#include "render/GLSL.h"

// A shader file's text as this GL compiles it.
std::string shaderSourceForThisGL(const char* fileText, bool fragment);

// Where outlines need one, an element buffer of every triangle's three edges as lines;
// otherwise 0.
GLuint createEdgeBuffer(const std::vector<unsigned int>& triangleIndices);

// Triangles from here on are drawn as their outlines, or filled.
void setOutlined(bool outlined);

// The count indices of the triangles element buffer, filled or outlined; edges is that
// buffer's createEdgeBuffer. Leaves the element buffer bound.
void drawTriangles(GLuint triangles, GLuint edges, GLsizei count);
