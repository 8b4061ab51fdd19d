#include "render/Camera.h"

#include <gtest/gtest.h>

#include <cmath>
#include <glm/gtc/constants.hpp>

#include "render/MatrixStack.h"

static void expectNear(glm::vec3 actual, glm::vec3 expected) {
    EXPECT_NEAR(glm::distance(actual, expected), 0.0f, 1e-5f);
}

// How far one tick moves a camera turned by yaw and pitch with the given keys held.
static glm::vec3 stepWith(const char* held, float yaw, float pitch) {
    Camera camera;
    camera.rotations = glm::vec2(yaw, pitch);
    bool keys[256] = {};
    for (const char* key = held; *key != '\0'; ++key) {
        keys[static_cast<unsigned char>(*key)] = true;
    }
    camera.update(keys, camera.mousePrev);
    return camera.position - Camera().position;
}

TEST(Camera, TurnedViewPutsTheEyeAtTheOriginLookingDownMinusZOnTopOfTheStack) {
    Camera camera;
    const float yaw = 0.7f, pitch = 0.3f;
    camera.rotations = glm::vec2(yaw, pitch);
    camera.position = glm::vec3(3.0f, 4.0f, 5.0f);
    const glm::vec3 forward(-std::sin(yaw) * std::cos(pitch), std::sin(pitch),
                            -std::cos(yaw) * std::cos(pitch));
    MatrixStack view;
    view.scale(2.0f);
    camera.applyViewMatrix(&view);
    expectNear(view.topMatrix() * glm::vec4(camera.position, 1.0f), {0, 0, 0});
    expectNear(view.topMatrix() * glm::vec4(camera.position + forward, 1.0f), {0, 0, -2});
}

TEST(CameraKeys, LowerCaseKeysStepOnTheGroundAndForwardStepsVanishLookingStraightUpOrDown) {
    const float yaw = 0.6f;
    const glm::vec3 right(std::cos(yaw), 0.0f, -std::sin(yaw));
    for (const float pitch : {0.2f, glm::half_pi<float>(), -glm::half_pi<float>()}) {
        const glm::vec3 back = std::cos(pitch) * glm::vec3(std::sin(yaw), 0.0f, std::cos(yaw));
        expectNear(stepWith("w", yaw, pitch), -0.5f * back);
        expectNear(stepWith("d", yaw, pitch), 0.5f * right);
        expectNear(stepWith("wd", yaw, pitch), 0.5f * (right - back));
        for (const char* standingStill : {"ws", "wasd", "WASD"}) {
            expectNear(stepWith(standingStill, yaw, pitch), {0, 0, 0});
        }
    }
}

TEST(Camera, ProjectionFollowsTheWindowAndAnEmptyWindowKeepsTheLastRatio) {
    Camera camera;
    for (const glm::vec2 size : {glm::vec2(1280, 720), {0, 720}, {1280, 0}}) {
        camera.setWindowSize(size.x, size.y);
    }
    MatrixStack projection;
    camera.applyProjectionMatrix(&projection);
    // 1 / (16/9 * tan(pi/12)), and tan(pi/12) = 2 - sqrt(3).
    EXPECT_NEAR(projection.topMatrix()[0][0], 9.0 / 16.0 / (2.0 - std::sqrt(3.0)), 1e-4);
}
