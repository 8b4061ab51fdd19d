#include "render/Camera.h"

#include <cmath>
#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include "render/MatrixStack.h"

static constexpr double RADIANS_PER_PIXEL = 1.0 / 200.0;
static constexpr float STEP = 0.5f;

Camera::Camera()
    : aspect(1.0f),
      fovy(static_cast<float>(glm::pi<double>() / 6.0)),
      znear(0.1f),
      zfar(1000.0f),
      mousePrev(0.0f, 0.0f),
      position(20.0f, 20.0f, 20.0f),
      rotations(0.0f, 0.0f) {}

Camera::~Camera() {}

// A minimised window reports a zero size; keeping the last ratio keeps the projection valid.
void Camera::setWindowSize(float width, float height) {
    if (width > 0.0f && height > 0.0f) {
        aspect = width / height;
    }
}

glm::mat4 Camera::orientation() const {
    glm::mat4 yaw = glm::rotate(glm::mat4(1.0f), rotations.x, glm::vec3(0.0f, 1.0f, 0.0f));
    glm::mat4 pitch = glm::rotate(glm::mat4(1.0f), rotations.y, glm::vec3(1.0f, 0.0f, 0.0f));
    return yaw * pitch;
}

// Indexed by an unsigned char: the key table has 256 entries, and char may be signed.
static bool held(const bool* keys, unsigned char key) {
    return keys[key];
}

void Camera::update(const bool* keys, const glm::vec2& mouse) {
    float dx = mouse.x - mousePrev.x;
    float dy = mouse.y - mousePrev.y;
    rotations.x = static_cast<float>(rotations.x - dx * RADIANS_PER_PIXEL);
    rotations.y = static_cast<float>(rotations.y - dy * RADIANS_PER_PIXEL);

    glm::mat4 R = orientation();
    // Ground-plane directions: the view's backward axis keeps its cos(pitch) length, so
    // forward steps shrink as the view tilts up or down.
    glm::vec3 back(R[2][0], 0.0f, R[2][2]);
    glm::vec3 right(R[0][0], 0.0f, R[0][2]);

    if (held(keys, 'w')) {
        position -= STEP * back;
    }
    if (held(keys, 's')) {
        position += STEP * back;
    }
    if (held(keys, 'd')) {
        position += STEP * right;
    }
    if (held(keys, 'a')) {
        position -= STEP * right;
    }
    mousePrev = mouse;
}

void Camera::applyProjectionMatrix(MatrixStack* P) const {
    P->perspective(fovy, aspect, znear, zfar);
}

void Camera::applyViewMatrix(MatrixStack* MV) const {
    glm::mat4 eye = glm::translate(glm::mat4(1.0f), position) * orientation();
    MV->multMatrix(glm::inverse(eye));
}

glm::vec3 roty(glm::vec3 v, double a) {
    double c = std::cos(a);
    double s = std::sin(a);
    return glm::vec3(static_cast<float>(v.x * c + v.z * s), v.y,
                     static_cast<float>(-v.x * s + v.z * c));
}
