// One zone's building: a unit block mesh and its material colours. Draws one building
// with the top of the caller's model-view stack; binds no texture.
#pragma once

#include <glm/glm.hpp>

#include "render/Shape.h"

class MatrixStack;

class TavoObject {
  public:
    static constexpr size_t MODEL_PATH_CAPACITY = 128;

    TavoObject();
    ~TavoObject();

    // Reads and normalises the mesh; a path that does not fit modelPath is refused.
    void load(const char* modelPath);
    void init(glm::vec3 ka, glm::vec3 kd, glm::vec3 ks);
    void draw(GLint h_MV, GLint h_pos, GLint h_nor, GLint h_ka, GLint h_kd, GLint h_ks,
              MatrixStack* MV) const;

    char modelPath[MODEL_PATH_CAPACITY];
    Shape shape;
    glm::vec3 ka;
    glm::vec3 kd;
    glm::vec3 ks;
};
