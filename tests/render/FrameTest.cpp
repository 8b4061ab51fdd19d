#define GLM_ENABLE_EXPERIMENTAL  // glm::to_string
#include "render/Frame.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtx/string_cast.hpp>
#include <map>
#include <thread>

#include "app/Callbacks.h"
#include "app/Globals.h"
#include "render/Setup.h"
#include "scene/Scene.h"
#include "sim/Grid.h"

// The look as documented, written out here so that no slip in the program carries the
// expected picture along with it.
static const float TAN_HALF_FOVY = std::tan(glm::pi<float>() / 12), NEAR = 0.1f, FAR = 1000.0f;
static const glm::vec3 SKY(204, 242, 255);       // (0.8, 0.95, 1) in bytes
static const glm::vec3 LIGHT_FROM_EYE(2, 2, 2);  // in eye space: it travels with the viewer
static const float GROUND_EDGE = 600.0f, SHININESS = 300.0f;
struct Look {
    glm::vec3 ka, kd, ks;
};
static const Look RESIDENTIAL{{0.34f, 0.29f, 0.18f}, {0.4f, 0.3f, 0.2f}, {0.4f, 0.4f, 0.4f}};
static const Look COMMERCIAL{{0.54f, 0.41f, 0.12f}, {0.6f, 0.5f, 0.2f}, {0.6f, 0.6f, 0.6f}};
static const Look INDUSTRIAL{{0.14f, 0.11f, 0.09f}, {0.2f, 0.2f, 0.1f}, {0.2f, 0.2f, 0.2f}};

// A building: the unit box centred 0.5 up at its site of the 3-unit lattice (row along x,
// column along z, both from -450), scaled by its footprint and height.
struct Block {
    int row, col;
    TavoObject* zone;
    float footprint, height;
    glm::vec3 low() const { return centre() - 0.5f * glm::vec3(footprint, height, footprint); }
    glm::vec3 high() const { return 2.0f * centre() - low(); }
    glm::vec3 centre() const { return glm::vec3(3 * row - 450, 0.5f, 3 * col - 450); }
    const Look& look() const {
        return zone == &commercial ? COMMERCIAL : zone == &industrial ? INDUSTRIAL : RESIDENTIAL;
    }
};

struct View {
    const char* name;
    glm::vec3 eye;
    float yaw, pitch;
    int width, height;
    glm::mat3 turn() const {
        return glm::mat3(glm::rotate(glm::mat4(1.0f), yaw, glm::vec3(0, 1, 0)) *
                         glm::rotate(glm::mat4(1.0f), pitch, glm::vec3(1, 0, 0)));
    }
};

// What a ray meets first: the sky (-1), the ground (0) or a face of a block (1 + 6 per block
// before it + the face), and the colour it shows.
struct Hit {
    int what = -1;
    glm::vec3 colour = SKY;
};

// Ambient, plus the point light's diffuse and Blinn-Phong specular terms, clamped.
static glm::vec3 lit(const Look& look, glm::vec3 normal, glm::vec3 point, const View& view) {
    const glm::vec3 l = glm::normalize(view.eye + view.turn() * LIGHT_FROM_EYE - point);
    const glm::vec3 h = glm::normalize(l + glm::normalize(view.eye - point));
    const float diffuse = std::max(glm::dot(normal, l), 0.0f);
    const float specular =
        diffuse > 0 ? std::pow(std::max(glm::dot(normal, h), 0.0f), SHININESS) : 0;
    return glm::round(glm::min(look.ka + look.kd * diffuse + look.ks * specular, 1.0f) * 255.0f);
}

// (x, y) in pixels from the view's lower left corner. Along the ray, t is the depth that the
// near and far planes clip.
static Hit trace(const View& view, const std::vector<Block>& city, bool culled, float x, float y) {
    const float aspect = static_cast<float>(view.width) / static_cast<float>(view.height);
    const glm::vec3 ray = view.turn() * glm::vec3((2 * x / view.width - 1) * aspect * TAN_HALF_FOVY,
                                                  (2 * y / view.height - 1) * TAN_HALF_FOVY, -1);
    Hit hit;
    float nearest = FAR;
    const float toGround = -view.eye.y / ray.y;
    const glm::vec3 ground = view.eye + toGround * ray;
    // The ground's front faces down: culling hides it from above.
    if (toGround > NEAR && toGround < FAR && !culled &&
        std::max(std::abs(ground.x), std::abs(ground.z)) <= GROUND_EDGE) {
        nearest = toGround;
        hit.what = 0;
    }
    for (size_t k = 0; k < city.size(); ++k) {
        float in = -FAR, out = FAR;
        int axis = 0;
        for (int a = 0; a < 3; ++a) {
            const float t1 = (city[k].low()[a] - view.eye[a]) / ray[a];
            const float t2 = (city[k].high()[a] - view.eye[a]) / ray[a];
            if (std::min(t1, t2) > in) {
                in = std::min(t1, t2);
                axis = a;
            }
            out = std::min(out, std::max(t1, t2));
        }
        if (in < out && in > NEAR && in < nearest) {
            nearest = in;
            glm::vec3 normal(0.0f);
            normal[axis] = ray[axis] < 0 ? 1.0f : -1.0f;
            hit = {static_cast<int>(1 + 6 * k + 2 * axis + (ray[axis] < 0)),
                   lit(city[k].look(), normal, view.eye + in * ray, view)};
        }
    }
    return hit;
}

// The frame as drawn into the view: the back buffer, read after the frame and before any swap.
struct Picture {
    explicit Picture(const View& view) : width(view.width), bytes(3 * view.width * view.height) {
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, view.width, view.height, GL_RGB, GL_UNSIGNED_BYTE, bytes.data());
    }
    glm::vec3 at(int x, int y) const {
        const size_t index = 3 * (static_cast<size_t>(y) * width + x);
        return {bytes[index], bytes[index + 1], bytes[index + 2]};
    }
    int width;
    std::vector<unsigned char> bytes;
};

class FrameTest : public testing::Test {
  protected:
    void SetUp() override {
        pthread_mutex_init(&stateMutex, nullptr);
        loadScene();
        initGL();
        resetGrid(cells, &residential);  // undoes the seeding: each test builds its own city
    }

    // The window as the user made it, the camera where the user flew it, and one frame.
    static Picture draw(const View& view) {
        reshapeGL(view.width, view.height);
        camera.position = view.eye;
        camera.rotations = glm::vec2(view.yaw, view.pitch);
        renderFrame();
        return Picture(view);
    }

    static void build(const Block& b, int state, int nextState) {
        cells[b.row][b.col].footprint = b.footprint;
        cells[b.row][b.col].height = b.height;
        cells[b.row][b.col].zone = b.zone;
        cells[b.row][b.col].state = state;
        cells[b.row][b.col].nextState = nextState;
    }

    // Every pixel whose centre and corners meet the same thing shows it: the sky's colour, the
    // ground as drawn without the city (which is not sky), or the face's lit colour.
    void expectPicture(const View& view, const Picture& seen, const std::vector<Block>& city,
                       bool culled, const Picture& ground) {
        int wrong = 0;
        for (int y = 0; y < view.height; ++y) {
            for (int x = 0; x < view.width; ++x) {
                const Hit hit = trace(view, city, culled, x + 0.5f, y + 0.5f);
                bool alike = true;
                for (const glm::vec2 corner :
                     {glm::vec2(0.05f), {0.95f, 0.05f}, {0.05f, 0.95f}, glm::vec2(0.95f)}) {
                    alike = alike &&
                            trace(view, city, culled, x + corner.x, y + corner.y).what == hit.what;
                }
                if (!alike) {
                    continue;
                }
                const glm::vec3 colour = seen.at(x, y);
                const bool right =
                    hit.what == 0 ? colour == ground.at(x, y) && colour != SKY
                                  : glm::all(glm::lessThanEqual(glm::abs(colour - hit.colour),
                                                                glm::vec3(hit.what < 0 ? 1 : 3)));
                ++compared[hit.what < 0 ? -1 : (hit.what + 5) / 6];
                if (!right && wrong++ == 0) {
                    ADD_FAILURE() << view.name << ": pixel " << x << ", " << y << " shows "
                                  << glm::to_string(colour) << " for " << hit.what << ", not "
                                  << (hit.what ? glm::to_string(hit.colour) : "the ground");
                }
            }
        }
        EXPECT_EQ(wrong, 0) << view.name;
    }

    std::map<int, int> compared;  // pixels of the sky (-1), the ground (0), each block (1 on)
};

// A small city from the street through three shapes of window, from above and at the ground's
// corner: shape, depth, light and the ground's edge; the generation committed by the first
// frame shows from the second on. "c" culls the ground, a back face from above, uncovering
// what stands below it; "l" leaves outlines; each again undoes it, capitals do nothing.
TEST_F(FrameTest, KnownCityKeepsItsShapeDepthAndLightInEveryWindow) {
    const Block dying{151, 152, &residential, 1, 1}, newborn{148, 148, &residential, 1, 1};
    std::vector<Block> city = {{150, 150, &residential, 2, 6},
                               {150, 147, &commercial, 1.5f, 3},
                               {152, 149, &industrial, 1, 1},
                               {149, 151, &commercial, 1, 1.4f}};
    const glm::vec3 street(4, 5, 16);
    const View views[] = {
        {"from the street", street, 0.15f, -0.25f, 256, 256},
        {"through a wide window", street, 0.15f, -0.25f, 256, 128},
        {"through a tall window", street, 0.15f, -0.25f, 128, 256},
        {"from straight above", {-1, 30, 0}, 0, -glm::half_pi<float>(), 256, 192},
        {"at the ground's corner", {570, 15, 560}, -2.3561945f, -0.45f, 256, 128}};
    std::vector<Picture> grounds;
    for (const View& view : views) {
        grounds.push_back(draw(view));
    }
    for (const Block& block : city) {
        build(block, 1, 1);
    }
    build(dying, 1, 0);
    build(newborn, 0, 1);
    city.push_back(dying);
    for (size_t v = 0; v < std::size(views); ++v) {
        expectPicture(views[v], draw(views[v]), city, false, grounds[v]);
        if (v == 0) {
            EXPECT_GT(std::exchange(compared[5], 0), 300) << "the dying building";
            city.back() = newborn;
        }
    }
    EXPECT_GT(compared[-1], 5000);
    EXPECT_GT(compared[0], 50000);
    for (int block = 1; block <= 5; ++block) {
        EXPECT_GT(compared[block], 150) << "block " << block;
    }
    const std::tuple<unsigned char, bool, bool> presses[] = {
        {'L', false, false}, {'c', true, false},  {'c', false, false},
        {'l', false, true},  {'l', false, false}, {'C', false, false}};
    for (auto [key, culled, outlined] : presses) {
        keyboardGL(key, 0, 0);
        const Picture seen = draw(views[0]);
        if (outlined) {
            int sky = 0;
            for (int y = 0; y < views[0].height; ++y) {
                for (int x = 0; x < views[0].width; ++x) {
                    sky += seen.at(x, y) == SKY;
                }
            }
            EXPECT_GT(sky, 0.6 * views[0].width * views[0].height) << key;
        } else {
            expectPicture(views[0], seen, city, culled, grounds[0]);
        }
    }
    // A window made zero wide or high shows nothing, and must not stop the program.
    for (const glm::ivec2 size : {glm::ivec2(0, 256), glm::ivec2(256, 0)}) {
        reshapeGL(size.x, size.y);
        renderFrame();
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
