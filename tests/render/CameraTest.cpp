#include "render/Camera.h"

#include <gtest/gtest.h>

#include <cmath>
#include <glm/gtc/constants.hpp>
#include <string>

#include "render/MatrixStack.h"

namespace {

void expectVecNear(glm::vec3 actual, glm::vec3 expected, float tolerance = 1e-5f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

glm::vec3 viewed(const MatrixStack& stack, glm::vec3 point) {
    return glm::vec3(stack.topMatrix() * glm::vec4(point, 1.0f));
}

// How far one tick moves a camera turned by yaw and pitch with the given keys held.
glm::vec3 stepWith(const std::string& held, float yaw, float pitch) {
    Camera camera;
    camera.rotations = glm::vec2(yaw, pitch);
    bool keys[256] = {};
    for (const char key : held) {
        keys[static_cast<unsigned char>(key)] = true;
    }
    const glm::vec3 start = camera.position;
    camera.update(keys, camera.mousePrev);
    return camera.position - start;
}

float projectionScaleX(const Camera& camera) {
    MatrixStack projection;
    camera.applyProjectionMatrix(&projection);
    return projection.topMatrix()[0][0];
}

}  // namespace

TEST(Camera, NewCameraViewIsAPureTranslationToItsPosition) {
    const Camera camera;
    MatrixStack view;
    camera.applyViewMatrix(&view);
    glm::mat4 expected(1.0f);
    expected[3] = glm::vec4(-20.0f, -20.0f, -20.0f, 1.0f);
    for (int col = 0; col < 4; ++col) {
        for (int row = 0; row < 4; ++row) {
            EXPECT_NEAR(view.topMatrix()[col][row], expected[col][row], 1e-5f);
        }
    }
}

TEST(Camera, TurnedViewPutsTheEyeAtTheOriginLookingDownMinusZOnTopOfTheStack) {
    Camera camera;
    const float yaw = 0.7f, pitch = 0.3f;
    camera.rotations = glm::vec2(yaw, pitch);
    camera.position = glm::vec3(3.0f, 4.0f, 5.0f);
    const glm::vec3 forward(-std::sin(yaw) * std::cos(pitch), std::sin(pitch),
                            -std::cos(yaw) * std::cos(pitch));
    const glm::vec3 right(std::cos(yaw), 0.0f, -std::sin(yaw));

    MatrixStack view;
    view.scale(2.0f);
    camera.applyViewMatrix(&view);
    expectVecNear(viewed(view, camera.position), glm::vec3(0.0f));
    expectVecNear(viewed(view, camera.position + forward), {0.0f, 0.0f, -2.0f});
    expectVecNear(viewed(view, camera.position + right), {2.0f, 0.0f, 0.0f});
}

TEST(Camera, FirstPointerReportTurnsByTheMovementFromTheOrigin) {
    Camera camera;
    const bool keys[256] = {};
    camera.update(keys, glm::vec2(640.0f, 360.0f));
    EXPECT_NEAR(camera.rotations.x, -3.2f, 1e-6f);
    EXPECT_NEAR(camera.rotations.y, -1.8f, 1e-6f);
    expectVecNear(camera.position, {20.0f, 20.0f, 20.0f});

    camera.update(keys, glm::vec2(640.0f, 360.0f));
    EXPECT_NEAR(camera.rotations.x, -3.2f, 1e-6f);

    camera.update(keys, glm::vec2(650.0f, 340.0f));
    EXPECT_NEAR(camera.rotations.x, -3.25f, 1e-6f);
    EXPECT_NEAR(camera.rotations.y, -1.7f, 1e-6f);
}

TEST(CameraKeys, EachKeyStepsHalfAUnitOnTheGroundAndHeldKeysAddUp) {
    const float yaw = 0.6f, pitch = 0.2f;
    const glm::vec3 back(std::sin(yaw) * std::cos(pitch), 0.0f, std::cos(yaw) * std::cos(pitch));
    const glm::vec3 right(std::cos(yaw), 0.0f, -std::sin(yaw));

    expectVecNear(stepWith("w", yaw, pitch), -0.5f * back);
    expectVecNear(stepWith("s", yaw, pitch), 0.5f * back);
    expectVecNear(stepWith("d", yaw, pitch), 0.5f * right);
    expectVecNear(stepWith("a", yaw, pitch), -0.5f * right);
    expectVecNear(stepWith("ws", yaw, pitch), glm::vec3(0.0f));
    expectVecNear(stepWith("wd", yaw, pitch), 0.5f * (right - back));
}

TEST(CameraKeys, UpperCaseKeysMoveNothing) {
    expectVecNear(stepWith("WASD", 0.6f, 0.2f), glm::vec3(0.0f), 0.0f);
}

TEST(CameraKeys, LookingStraightUpOrDownLeavesOnlyTheSidestepKeys) {
    const float yaw = 1.1f;
    const glm::vec3 right(std::cos(yaw), 0.0f, -std::sin(yaw));
    for (const float pitch : {glm::half_pi<float>(), -glm::half_pi<float>()}) {
        SCOPED_TRACE(testing::Message() << "pitch " << pitch);
        expectVecNear(stepWith("w", yaw, pitch), glm::vec3(0.0f));
        expectVecNear(stepWith("s", yaw, pitch), glm::vec3(0.0f));
        expectVecNear(stepWith("d", yaw, pitch), 0.5f * right);
        expectVecNear(stepWith("a", yaw, pitch), -0.5f * right);
    }
}

TEST(Camera, ProjectionFollowsTheWindowAndAnEmptyWindowKeepsTheLastRatio) {
    Camera camera;
    const double tanHalfFovy = 2.0 - std::sqrt(3.0);  // tan(pi / 12)
    EXPECT_NEAR(projectionScaleX(camera), 1.0 / tanHalfFovy, 1e-4);

    camera.setWindowSize(1280.0f, 720.0f);
    const double wide = 1.0 / (16.0 / 9.0 * tanHalfFovy);
    EXPECT_NEAR(projectionScaleX(camera), wide, 1e-4);
    EXPECT_NEAR(wide, 2.0993, 1e-4);

    // A minimised window reports zero; the projection must stay valid.
    camera.setWindowSize(0.0f, 720.0f);
    EXPECT_NEAR(projectionScaleX(camera), wide, 1e-4);
    camera.setWindowSize(1280.0f, 0.0f);
    EXPECT_NEAR(projectionScaleX(camera), wide, 1e-4);

    camera.setWindowSize(600.0f, 800.0f);
    EXPECT_NEAR(projectionScaleX(camera), 1.0 / (0.75 * tanHalfFovy), 1e-4);
}

TEST(Roty, TurnsAboutYInTheSenseOfARotationAboutY) {
    const float rootThree = std::sqrt(3.0f);
    expectVecNear(roty({1.0f, 2.0f, 0.0f}, M_PI / 2.0), {0.0f, 2.0f, -1.0f});
    expectVecNear(roty({0.0f, 0.0f, 1.0f}, M_PI / 2.0), {1.0f, 0.0f, 0.0f});
    expectVecNear(roty({2.0f, 0.0f, 0.0f}, M_PI / 6.0), {rootThree, 0.0f, -1.0f});
    expectVecNear(roty({1.0f, 5.0f, 1.0f}, M_PI), {-1.0f, 5.0f, -1.0f});

    MatrixStack rotation;
    rotation.rotate(0.8f, glm::vec3(0.0f, 1.0f, 0.0f));
    const glm::vec3 v(0.3f, -1.0f, 2.0f);
    expectVecNear(roty(v, 0.8), viewed(rotation, v));
}
