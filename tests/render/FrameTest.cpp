#include "render/Frame.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <thread>

#include "app/Callbacks.h"
#include "app/Globals.h"
#include "render/MatrixStack.h"
#include "render/Setup.h"
#include "scene/Scene.h"
#include "scene/ZoneMaterials.h"
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
        size_t index = 3 * (static_cast<size_t>((y + 1.0f) * 0.5f * height) * width +
                            static_cast<size_t>((x + 1.0f) * 0.5f * width));
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

    // Null where the empty city shows through at a point, else the zone whose colour lit
    // head-on is nearest: highlights only add each zone's own specular colour.
    const TavoObject* zoneSeenAt(const glm::vec3& point) const {
        glm::vec3 seen = seenAt(BackBuffer(), point);
        std::map<float, const TavoObject*> byDistance;
        for (auto [zone, m] : {std::pair{&residential, RESIDENTIAL_MATERIAL},
                               {&commercial, COMMERCIAL_MATERIAL},
                               {&industrial, INDUSTRIAL_MATERIAL}}) {
            byDistance[glm::distance(seen, glm::round(glm::min(m.ka + m.kd, 1.0f) * 255.0f))] =
                zone;
        }
        return seen == seenAt(emptyCity, point) ? nullptr : byDistance.begin()->second;
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
// each seen at its roof before and after the commit.
TEST_F(FrameTest, CellsShowAtTheirSiteSizeAndZone) {
    renderFrame();
    emptyCity = BackBuffer();
    const std::tuple<int, int, TavoObject*, int, int> sites[] = {
        {150, 150, &residential, 1, 1}, {152, 151, &commercial, 1, 0},
        {149, 153, &industrial, 0, 1},  {151, 152, nullptr, 0, 0},
        {153, 149, nullptr, 0, 0},      {150, 151, nullptr, 0, 0}};
    // The survivor is 2.5 wide and 10 high, its roof 5.5 up: seen from the eye beside it, the
    // roof stands out past the ground at (-1.55, -1.8) from its centre, not at (-2, -2.4).
    std::vector<std::tuple<glm::vec3, TavoObject*, TavoObject*>> seen = {
        {{-1.55f, 0, -1.8f}, &residential, &residential}, {{-2, 0, -2.4f}, nullptr, nullptr}};
    for (auto [row, col, zone, state, nextState] : sites) {
        seen.push_back({build(row, col, zone, state, nextState), state ? zone : nullptr,
                        nextState ? zone : nullptr});
    }
    cells[150][150].footprint = 2.5f;
    cells[150][150].height = 10.0f;
    for (bool committed : {false, true}) {
        renderFrame();
        for (auto [point, before, after] : seen) {
            EXPECT_EQ(zoneSeenAt(point), committed ? after : before)
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
