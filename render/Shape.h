// A triangle mesh read from an OBJ file: the first shape is normalised into the unit box,
// uploaded once into GL buffers and drawn with caller-supplied attribute locations.
// Touches no uniform, texture or program state; never deletes its GL buffers.
#pragma once

#include <string>
#include <vector>

#include "render/GLSL.h"
#include "render/MeshArrays.h"

class Shape {
  public:
    Shape();
    virtual ~Shape();

    void load(const std::string& path);
    void init();
    void draw(GLint h_pos, GLint h_nor, GLint h_tex) const;

    bool empty() const { return mesh.positions.empty(); }

    std::vector<tinyobj::shape_t> shapes;
    GLuint posBufID;
    GLuint norBufID;
    GLuint texBufID;
    GLuint indBufID;
    GLuint edgeBufID;  // where outlines need one

  private:
    MeshArrays mesh;  // shape 0's vertices, the only shape used
};
