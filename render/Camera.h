// The free-flying viewer: turned by the pointer, moved by w, a, s, d once per pacing tick,
// and the source of each frame's projection and viewing matrices.
#pragma once

#include <glm/glm.hpp>

class MatrixStack;

class Camera {
  public:
    Camera();
    virtual ~Camera();

    void setWindowSize(float width, float height);
    void update(const bool* keys, const glm::vec2& mouse);
    void applyProjectionMatrix(MatrixStack* P) const;
    void applyViewMatrix(MatrixStack* MV) const;

    float aspect;
    float fovy;
    float znear;
    float zfar;
    glm::vec2 mousePrev;
    glm::vec3 position;
    glm::vec2 rotations;  // x: yaw about world y, y: pitch about the camera's x axis

  private:
    glm::mat4 orientation() const;
};

// v turned about +y by angle a (radians), in the sense of a rotation about (0, 1, 0).
glm::vec3 roty(glm::vec3 v, double a);
