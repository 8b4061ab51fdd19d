#include "app/PointerTrack.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "render/Camera.h"
#include "render/MatrixStack.h"

// The pointer's reports in window pixels (y grows downward), each followed by a tick;
// a report at (-1, -1) stands for the pointer leaving the window.
static glm::vec3 lookingAlongAfter(const std::vector<glm::vec2>& reports) {
    PointerTrack track;
    glm::vec2 mouse(0.0f);
    Camera camera;
    const bool keys[256] = {};
    for (const glm::vec2& report : reports) {
        if (report.x < 0.0f) {
            track.lose();
        } else {
            track.report(report, &mouse);
        }
        camera.update(keys, mouse);
    }
    MatrixStack view;
    camera.applyViewMatrix(&view);
    return glm::inverse(view.topMatrix()) * glm::vec4(0.0f, 0.0f, -1.0f, 0.0f);
}

// One pixel turns the view by 1/200 radian: right turns it right, down tilts it down. Coming
// into the window, first or again at any edge, turns nothing; the moves after it do.
TEST(PointerTrack, MovesInsideTheWindowTurnTheViewAndComingInTurnsNothing) {
    const float half = 0.5f, s = std::sin(half), c = std::cos(half);
    const glm::vec2 out(-1.0f);
    const struct {
        const char* name;
        std::vector<glm::vec2> reports;
        glm::vec3 along;
    } cases[] = {
        {"first report", {{900, 50}}, {0, 0, -1}},
        {"100 right", {{600, 300}, {700, 300}}, {s, 0, -c}},
        {"100 left in two moves", {{600, 300}, {550, 300}, {500, 300}}, {-s, 0, -c}},
        {"100 down", {{600, 300}, {600, 400}}, {0, -s, -c}},
        {"left, back in elsewhere", {{600, 300}, {700, 300}, out, {10, 700}}, {s, 0, -c}},
        {"then up twice", {{600, 300}, out, {10, 700}, {10, 650}, {10, 600}}, {0, s, -c}},
    };
    for (const auto& k : cases) {
        const glm::vec3 along = lookingAlongAfter(k.reports);
        EXPECT_NEAR(glm::distance(along, k.along), 0.0f, 1e-5f) << k.name;
    }
}
