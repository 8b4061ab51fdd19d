#include "render/Camera.h"

#include <gtest/gtest.h>

#include <cmath>
#include <glm/gtc/constants.hpp>
#include <vector>

#include "app/Pacing.h"
#include "app/PointerTrack.h"
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

// A pixel turns the view 1/200 radian the way the pointer went; coming into the window, first
// or again anywhere, turns nothing. Each report, in window pixels with y growing downward, is
// followed by a tick; (-1, -1) stands for the pointer leaving the window.
TEST(Camera, PointerMovesInsideTheWindowTurnTheViewAndComingInTurnsNothing) {
    const glm::vec2 out(-1.0f);
    const struct {
        const char* name;
        std::vector<glm::vec2> reports;
        float yaw, pitch;
    } cases[] = {{"first report", {{900, 50}}, 0, 0},
                 {"140 right and 60 up", {{600, 300}, {740, 240}}, -0.7f, 0.3f},
                 {"100 left in two moves", {{600, 300}, {550, 300}, {500, 300}}, 0.5f, 0},
                 {"out and in elsewhere", {{600, 300}, {600, 400}, out, {10, 700}}, 0, -0.5f},
                 {"then up twice", {{600, 300}, out, {10, 700}, {10, 650}, {10, 600}}, 0, 0.5f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PointerTrack track;
        glm::vec2 mouse(0.0f);
        Camera camera;
        const bool keys[256] = {};
        for (const glm::vec2& report : c.reports) {
            report.x < 0.0f ? track.lose() : track.report(report, &mouse);
            camera.update(keys, mouse);
        }
        const glm::vec3 forward(-std::sin(c.yaw) * std::cos(c.pitch), std::sin(c.pitch),
                                -std::cos(c.yaw) * std::cos(c.pitch));
        MatrixStack view;
        camera.applyViewMatrix(&view);
        expectNear(glm::inverse(view.topMatrix()) * glm::vec4(0, 0, -1, 0), forward);
    }
}

// Idle calls every millisecond: a second of them ticks close to 60 times, never more.
TEST(Pacing, IdleCallsEveryMillisecondTickAboutSixtyTimesASecond) {
    int ticks = 0;
    for (int now = 1, lastTick = 0; now <= 1000; ++now) {
        ticks += tickDue(now, lastTick) ? (lastTick = now, 1) : 0;
    }
    EXPECT_TRUE(ticks >= 57 && ticks <= 60) << ticks;
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
