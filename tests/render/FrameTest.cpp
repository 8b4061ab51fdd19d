#include "render/Frame.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

#include "app/Callbacks.h"
#include "app/Globals.h"
#include "render/MatrixStack.h"
#include "render/Setup.h"
#include "scene/Scene.h"
#include "sim/Grid.h"

// The frame as drawn: the back buffer, read after the frame and before any swap.
struct BackBuffer {
    BackBuffer() : bytes(3 * width * height) {
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, bytes.data());
    }
    // The pixel under a point given in normalised device coordinates.
    glm::vec3 at(float x, float y) const {
        return pixel(static_cast<int>((x + 1.0f) * 0.5f * width),
                     static_cast<int>((y + 1.0f) * 0.5f * height));
    }
    glm::vec3 pixel(int col, int row) const {
        size_t index = 3 * (static_cast<size_t>(row) * width + col);
        return {bytes[index], bytes[index + 1], bytes[index + 2]};
    }

    int width = glutGet(GLUT_WINDOW_WIDTH), height = glutGet(GLUT_WINDOW_HEIGHT);
    std::vector<unsigned char> bytes;
};

class FrameTest : public testing::Test {
  protected:
    void SetUp() override {
        pthread_mutex_init(&stateMutex, nullptr);
        loadScene();
        initGL();
        resetGrid(cells, &residential);  // undoes the seeding: each test builds its own city
        camera.position = glm::vec3(2.0f, 40.0f, 4.0f);
        camera.rotations = glm::vec2(0.0f, -1.5707964f);  // looking straight down
    }

    static glm::vec3 seenAt(const BackBuffer& pixels, const glm::vec3& world) {
        MatrixStack P, view;
        camera.applyProjectionMatrix(&P);
        camera.applyViewMatrix(&view);
        glm::vec4 clip = P.topMatrix() * view.topMatrix() * glm::vec4(world, 1.0f);
        return pixels.at(clip.x / clip.w, clip.y / clip.w);
    }

    // Whether a building hides the empty city at a point.
    bool builtAt(const glm::vec3& point) const {
        return seenAt(BackBuffer(), point) != seenAt(emptyCity, point);
    }

    // Sets a cell as a worker pass leaves it; returns the point 1 up at its site.
    static glm::vec3 build(int row, int col, TavoObject* zone, int state, int nextState) {
        cells[row][col].zone = zone;
        cells[row][col].state = state;
        cells[row][col].nextState = nextState;
        return glm::vec3(3 * row - 450, 1, 3 * col - 450);
    }

    BackBuffer emptyCity;
};

// A survivor, a dying and a newborn cell, and empty sites, two with row and column swapped,
// each looked for at its roof before and after the commit (each zone's colour is below).
TEST_F(FrameTest, CellsShowAtTheirSiteSizeAndZone) {
    renderFrame();
    emptyCity = BackBuffer();
    const std::tuple<int, int, TavoObject*, int, int> sites[] = {
        {150, 150, &residential, 1, 1}, {152, 151, &commercial, 1, 0},
        {149, 153, &industrial, 0, 1},  {151, 152, nullptr, 0, 0},
        {153, 149, nullptr, 0, 0},      {150, 151, nullptr, 0, 0}};
    // The survivor is 2.5 wide and 10 high, its roof 5.5 up: seen from the eye beside it, the
    // roof stands out past the ground at (-1.55, -1.8) from its centre, not at (-2, -2.4).
    std::vector<std::tuple<glm::vec3, bool, bool>> seen = {{{-1.55f, 0, -1.8f}, true, true},
                                                           {{-2, 0, -2.4f}, false, false}};
    for (auto [row, col, zone, state, nextState] : sites) {
        seen.push_back({build(row, col, zone, state, nextState), state, nextState});
    }
    cells[150][150].footprint = 2.5f;
    cells[150][150].height = 10.0f;
    for (bool committed : {false, true}) {
        renderFrame();
        for (auto [point, before, after] : seen) {
            EXPECT_EQ(builtAt(point), committed ? after : before)
                << point.x << ", " << point.z << (committed ? " after the commit" : "");
        }
    }
}

// Seen from above the ground is a back face: "c" culls it and keeps the roof, "l" draws only
// outlines, which miss the points looked at; each key again undoes it, capitals do nothing.
TEST_F(FrameTest, CAndLToggleCullingAndOutlines) {
    build(150, 150, &residential, 1, 1);
    cells[150][150].footprint = 2.5f;
    cells[150][150].height = 10.0f;
    const glm::vec3 clearColour(204, 242, 255);
    const std::tuple<unsigned char, bool, bool> presses[] = {{'L', true, true}, {'c', true, false},
                                                             {'c', true, true}, {'l', false, false},
                                                             {'l', true, true}, {'C', true, true}};
    for (auto [key, roofDrawn, groundDrawn] : presses) {
        keyboardGL(key, 0, 0);
        renderFrame();
        const BackBuffer frame;
        EXPECT_EQ(seenAt(frame, {0.6f, 5.5f, 0}) != clearColour, roofDrawn) << key;
        for (glm::vec3 ground : {glm::vec3(4, 0, -4), glm::vec3(-4, 0, 4)}) {
            EXPECT_EQ(seenAt(frame, ground) != clearColour, groundDrawn) << key;
        }
    }
}

// A worker pass that holds the lock when a frame starts ends before the frame commits.
TEST_F(FrameTest, CommitWaitsForTheWorkersLock) {
    std::atomic<bool> locked(false);
    std::thread worker([&locked] {
        pthread_mutex_lock(&stateMutex);
        locked = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        cells[10][20].nextState = 1;
        pthread_mutex_unlock(&stateMutex);
    });
    while (!locked) {
        std::this_thread::yield();
    }
    renderFrame();
    worker.join();
    EXPECT_EQ(cells[10][20].state, 1);
}

// Each zone's material as drawn, against the lighting worked out here for every pixel of a
// building's roof: ambient, plus diffuse and Blinn-Phong specular (shininess 300) of the point
// light, clamped. The roof is seen at a glancing angle with the light mirrored across it, so
// that its highlight spreads short of white.
TEST_F(FrameTest, EachZoneIsLitByItsOwnThreeColours) {
    const struct {
        TavoObject* zone;
        glm::vec3 ka, kd, ks;
    } zones[] = {{&residential, {0.34f, 0.29f, 0.18f}, {0.4f, 0.3f, 0.2f}, {0.4f, 0.4f, 0.4f}},
                 {&commercial, {0.54f, 0.41f, 0.12f}, {0.6f, 0.5f, 0.2f}, {0.6f, 0.6f, 0.6f}},
                 {&industrial, {0.14f, 0.11f, 0.09f}, {0.2f, 0.2f, 0.1f}, {0.2f, 0.2f, 0.2f}}};
    const float half = 1.25f, roof = 5.5f;  // the building at (0, 0.5, 0), 2.5 wide, 10 high
    camera.position = glm::vec3(0.0f, roof + 1.0f, 3.5f);
    camera.rotations = glm::vec2(0.0f, -0.3f);
    const glm::vec3 light(0.0f, roof + 1.0f, -3.5f), up(0, 1, 0);
    MatrixStack P, view;
    camera.applyProjectionMatrix(&P);
    camera.applyViewMatrix(&view);
    lightPos = glm::vec3(view.topMatrix() * glm::vec4(light, 1.0f));
    const glm::mat4 toWorld = glm::inverse(P.topMatrix() * view.topMatrix());
    for (const auto& z : zones) {
        build(150, 150, z.zone, 1, 1);
        cells[150][150].footprint = 2 * half;
        cells[150][150].height = 10.0f;
        renderFrame();
        const BackBuffer frame;
        int compared = 0, wrong = 0;
        for (int row = 0; row < frame.height; ++row) {
            for (int col = 0; col < frame.width; ++col) {  // the roof through the pixel's centre
                const glm::vec2 ndc((col + 0.5f) / frame.width * 2 - 1,
                                    (row + 0.5f) / frame.height * 2 - 1);
                const glm::vec4 nearEnd = toWorld * glm::vec4(ndc, -1, 1);
                const glm::vec4 farEnd = toWorld * glm::vec4(ndc, 1, 1);
                const glm::vec3 from = glm::vec3(nearEnd) / nearEnd.w;
                const glm::vec3 ray = glm::vec3(farEnd) / farEnd.w - from;
                const glm::vec3 point = from + ray * ((roof - from.y) / ray.y);
                if (std::max(std::abs(point.x), std::abs(point.z)) > half - 0.05f) {
                    continue;  // off the roof or too near its edge
                }
                const glm::vec3 l = glm::normalize(light - point);
                const glm::vec3 h = glm::normalize(l + glm::normalize(camera.position - point));
                const float diffuse = std::max(glm::dot(up, l), 0.0f);
                const float specular = diffuse > 0 ? std::pow(glm::dot(up, h), 300.0f) : 0;
                const glm::vec3 lit = z.ka + z.kd * diffuse + z.ks * specular;
                const glm::vec3 expected = glm::round(glm::min(lit, 1.0f) * 255.0f);
                const glm::vec3 seen = frame.pixel(col, row);
                ++compared;
                if (glm::any(glm::greaterThan(glm::abs(seen - expected), glm::vec3(2))) &&
                    wrong++ == 0) {
                    ADD_FAILURE() << "pixel " << col << ", " << row << ": " << seen.x << " "
                                  << seen.y << " " << seen.z << ", not " << expected.x << " "
                                  << expected.y << " " << expected.z;
                }
            }
        }
        EXPECT_EQ(wrong, 0) << "of " << compared;
        EXPECT_GT(compared, frame.width * frame.height / 4);
    }
}
