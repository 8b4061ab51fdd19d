#include "render/Camera.h"

#include <gtest/gtest.h>

#include <glm/gtc/constants.hpp>

#include "render/MatrixStack.h"

// 200 pointer pixels turn the view a radian, left and up for a pointer moved left and up; a
// tick with keys held then steps half a unit on the ground, less as the view tilts. Expected
// directions worked out by hand: a quarter turn left looks along -x, 60 degrees up along
// (0, sqrt(3)/2, -1/2).
TEST(Camera, PointerTurnsTheViewAndKeysStepOnTheGround) {
    const float quarter = 100.0f * glm::pi<float>(), sixty = 200.0f * glm::pi<float>() / 3.0f;
    const float up = 0.8660254f;
    const struct {
        const char* name;
        glm::vec2 pointer;
        const char* held;
        glm::vec3 look, step;
    } cases[] = {
        {"ahead", {0, 0}, "w", {0, 0, -1}, {0, 0, -0.5f}},
        {"back and right", {0, 0}, "sd", {0, 0, -1}, {0.5f, 0, 0.5f}},
        {"turned left", {-quarter, 0}, "wa", {-1, 0, 0}, {-0.5f, 0, 0.5f}},
        {"tilted up", {0, -sixty}, "w", {0, up, -0.5f}, {0, 0, -0.25f}},
        {"turned left, tilted up", {-quarter, -sixty}, "wd", {-0.5f, up, 0}, {-0.25f, 0, -0.5f}},
        {"straight down", {0, quarter}, "wd", {0, -1, 0}, {0.5f, 0, 0}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Camera camera;
        bool keys[256] = {};
        camera.update(keys, c.pointer);
        for (const char* key = c.held; *key != '\0'; ++key) {
            keys[static_cast<unsigned char>(*key)] = true;
        }
        const glm::vec3 start = camera.position;
        camera.update(keys, c.pointer);  // the pointer has not moved since
        EXPECT_LT(glm::distance(camera.position - start, c.step), 1e-5f);
        MatrixStack view;
        camera.applyViewMatrix(&view);
        EXPECT_LT(glm::distance(glm::vec3(glm::inverse(view.topMatrix()) * glm::vec4(0, 0, -1, 0)),
                                c.look),
                  1e-5f);
    }
}
