#include "app/PointerTrack.h"

#include <gtest/gtest.h>

#include <vector>

// Reports are window pixels; (-1, -1) stands for the pointer leaving. Only moves made inside
// the window reach the camera's pointer, which starts at (0, 0).
TEST(PointerTrack, OnlyMovesInsideTheWindowCount) {
    const glm::vec2 out(-1.0f);
    const struct {
        const char* name;
        std::vector<glm::vec2> reports;
        glm::vec2 pointer;
    } cases[] = {{"first report", {{900, 50}}, {0, 0}},
                 {"moves add up", {{600, 300}, {740, 240}, {700, 250}}, {100, -50}},
                 {"out and in elsewhere", {{600, 300}, {600, 400}, out, {10, 700}}, {0, 100}},
                 {"then up twice", {{600, 300}, out, {10, 700}, {10, 650}, {10, 600}}, {0, -100}}};
    for (const auto& c : cases) {
        PointerTrack track;
        glm::vec2 pointer(0.0f);
        for (const glm::vec2& report : c.reports) {
            report.x < 0.0f ? track.lose() : track.report(report, &pointer);
        }
        EXPECT_EQ(pointer, c.pointer) << c.name;
    }
}
