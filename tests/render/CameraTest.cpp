#include "render/Camera.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <glm/gtc/constants.hpp>
#include <vector>

#include "app/Pacing.h"
#include "app/PointerTrack.h"
#include "render/MatrixStack.h"

static void expectNear(glm::vec3 actual, glm::vec3 expected) {
    EXPECT_NEAR(glm::distance(actual, expected), 0.0f, 1e-5f);
}

// A pixel turns the view 1/200 radian the way the pointer went; coming into the window turns
// nothing. Reports are window pixels (y down), each followed by a tick; (-1, -1) is leaving. A
// last tick with keys held steps on the ground, less as the view tilts, none straight up or down.
TEST(Camera, PointerMovesInsideTheWindowTurnTheViewComingInTurnsNothingAndKeysStepOnTheGround) {
    const float quarterTurn = 100.0f * glm::pi<float>(), right = glm::half_pi<float>();
    const glm::vec2 out(-1.0f);
    const struct {
        const char* name;
        std::vector<glm::vec2> reports;
        const char* held;
        float yaw, pitch;
    } cases[] = {
        {"first report", {{900, 50}}, "w", 0, 0},
        {"140 right and 60 up", {{600, 300}, {740, 240}}, "wd", -0.7f, 0.3f},
        {"100 left in two moves", {{600, 300}, {550, 300}, {500, 300}}, "ws", 0.5f, 0},
        {"out and in elsewhere", {{600, 300}, {600, 400}, out, {10, 700}}, "WASD", 0, -0.5f},
        {"then up twice", {{600, 300}, out, {10, 700}, {10, 650}, {10, 600}}, "a", 0, 0.5f},
        {"straight down", {{600, 300}, {480, 300 + quarterTurn}}, "wd", 0.6f, -right},
        {"straight up", {{600, 300}, {600, 300 - quarterTurn}}, "wasd", 0, right}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PointerTrack track;
        glm::vec2 mouse(0.0f);
        Camera camera;
        bool keys[256] = {};
        for (const glm::vec2& report : c.reports) {
            report.x < 0.0f ? track.lose() : track.report(report, &mouse);
            camera.update(keys, mouse);
        }
        for (const char* key = c.held; *key != '\0'; ++key) {
            keys[static_cast<unsigned char>(*key)] = true;
        }
        const glm::vec3 start = camera.position;
        camera.update(keys, mouse);
        auto step = [&c](char key) { return std::strchr(c.held, key) ? 0.5f : 0.0f; };
        const glm::vec3 back = std::cos(c.pitch) * glm::vec3(std::sin(c.yaw), 0, std::cos(c.yaw));
        const glm::vec3 toRight(std::cos(c.yaw), 0, -std::sin(c.yaw));
        expectNear(camera.position - start,
                   (step('s') - step('w')) * back + (step('d') - step('a')) * toRight);
        MatrixStack view;
        camera.applyViewMatrix(&view);
        expectNear(glm::inverse(view.topMatrix()) * glm::vec4(0, 0, -1, 0),
                   {-back.x, std::sin(c.pitch), -back.z});
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
