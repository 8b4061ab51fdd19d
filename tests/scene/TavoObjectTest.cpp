#include "scene/TavoObject.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <glm/gtc/type_ptr.hpp>

#include "render/MatrixStack.h"
#include "scene/ZoneMaterials.h"
#include "tests/support/GlTestSupport.h"

static const char* const TRIANGLE_OBJ = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";

static const char* const VERTEX_SOURCE =
    "attribute vec3 vertexPosition;\n"
    "uniform mat4 MV;\n"
    "void main() { gl_Position = MV * vec4(vertexPosition, 1.0); }\n";
static const char* const FRAGMENT_SOURCE =
    "uniform vec3 ka;\n"
    "uniform vec3 kd;\n"
    "uniform vec3 ks;\n"
    "void main() { gl_FragColor = vec4(ka + kd + ks, 1.0); }\n";

class TavoObjectTest : public testing::Test {
  protected:
    void SetUp() override {
        program = gltest::buildProgram(VERTEX_SOURCE, FRAGMENT_SOURCE);
        glUseProgram(program);
    }

    void TearDown() override { glUseProgram(0); }

    GLint uniform(const char* name) const { return glGetUniformLocation(program, name); }

    glm::vec3 uploadedVec3(const char* name) const {
        glm::vec3 value(-1.0f);
        glGetUniformfv(program, uniform(name), glm::value_ptr(value));
        return value;
    }

    // The triangle model at a path of exactly the given length.
    std::string modelAtPathOfLength(size_t length) const {
        std::string prefix = dir.path("");
        return dir.write(std::string(length - prefix.size() - 4, 'b') + ".obj", TRIANGLE_OBJ);
    }

    gltest::TempDir dir;
    GLuint program = 0;
};

TEST_F(TavoObjectTest, DrawUploadsTheTopAtEntryAndTheColoursAndLeavesTheStackAsFound) {
    const glm::vec3 ka(0.1f, 0.2f, 0.3f), kd(0.3f, 0.2f, 0.1f), ks(0.2f, 0.4f, 0.0f);
    TavoObject zone;
    zone.load(dir.write("triangle.obj", TRIANGLE_OBJ).c_str());
    zone.init(ka, kd, ks);

    MatrixStack stack;
    stack.pushMatrix();
    stack.translate(glm::vec3(0.1f, 0.2f, 0.0f));
    const glm::mat4 lower = stack.topMatrix();
    stack.pushMatrix();
    stack.scale(0.5f);
    const glm::mat4 top = stack.topMatrix();

    zone.draw(uniform("MV"), glGetAttribLocation(program, "vertexPosition"), -1, uniform("ka"),
              uniform("kd"), uniform("ks"), &stack);

    glm::mat4 uploaded(0.0f);
    glGetUniformfv(program, uniform("MV"), glm::value_ptr(uploaded));
    EXPECT_EQ(uploaded, top);
    EXPECT_EQ(uploadedVec3("ka"), ka);
    EXPECT_EQ(uploadedVec3("kd"), kd);
    EXPECT_EQ(uploadedVec3("ks"), ks);
    // A different matrix on every level: an extra or a missing entry shows on the way down.
    EXPECT_EQ(stack.topMatrix(), top);
    stack.popMatrix();
    EXPECT_EQ(stack.topMatrix(), lower);
    stack.popMatrix();
    EXPECT_EQ(stack.topMatrix(), glm::mat4(1.0f));

    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TavoObjectTest, ColoursStayBlackAfterLoadUntilInitGivesThem) {
    TavoObject zone;
    zone.load(dir.write("triangle.obj", TRIANGLE_OBJ).c_str());
    EXPECT_FALSE(zone.shape.empty());
    EXPECT_EQ(zone.ka, glm::vec3(0.0f));
    EXPECT_EQ(zone.kd, glm::vec3(0.0f));
    EXPECT_EQ(zone.ks, glm::vec3(0.0f));

    zone.init(glm::vec3(0.5f), glm::vec3(0.25f), glm::vec3(0.125f));
    EXPECT_EQ(zone.ka, glm::vec3(0.5f));
    EXPECT_EQ(zone.kd, glm::vec3(0.25f));
    EXPECT_EQ(zone.ks, glm::vec3(0.125f));
}

TEST_F(TavoObjectTest, PathOf127CharactersIsKeptWholeAndALongerOneIsRefused) {
    std::string fits = modelAtPathOfLength(TavoObject::MODEL_PATH_CAPACITY - 1);
    TavoObject kept;
    kept.load(fits.c_str());
    EXPECT_EQ(std::string(kept.modelPath), fits);
    EXPECT_FALSE(kept.shape.empty());

    std::string tooLong = modelAtPathOfLength(TavoObject::MODEL_PATH_CAPACITY);
    TavoObject refused;
    char sentinel[TavoObject::MODEL_PATH_CAPACITY];
    memset(sentinel, '#', sizeof sentinel);
    memcpy(refused.modelPath, sentinel, sizeof sentinel);
    testing::internal::CaptureStderr();
    refused.load(tooLong.c_str());
    std::string printed = testing::internal::GetCapturedStderr();

    EXPECT_NE(printed.find(tooLong), std::string::npos) << printed;
    EXPECT_EQ(memcmp(refused.modelPath, sentinel, sizeof sentinel), 0);
    EXPECT_TRUE(refused.shape.empty());
    EXPECT_TRUE(refused.shape.shapes.empty());
}

// The colours as written in decimal, read back as the nearest single-precision numbers.
static glm::vec3 nearestFloats(const char* decimals) {
    char* next = nullptr;
    float r = strtof(decimals, &next);
    float g = strtof(next, &next);
    float b = strtof(next, &next);
    return glm::vec3(r, g, b);
}

static void expectMaterial(const Material& material, const char* ka, const char* kd,
                           const char* ks) {
    EXPECT_EQ(material.ka, nearestFloats(ka));
    EXPECT_EQ(material.kd, nearestFloats(kd));
    EXPECT_EQ(material.ks, nearestFloats(ks));
}

TEST(ZoneMaterials, AreTheNearestFloatsToTheZoneColourTable) {
    expectMaterial(RESIDENTIAL_MATERIAL, "0.34 0.29 0.18", "0.4 0.3 0.2", "0.4 0.4 0.4");
    expectMaterial(COMMERCIAL_MATERIAL, "0.54 0.41 0.12", "0.6 0.5 0.2", "0.6 0.6 0.6");
    expectMaterial(INDUSTRIAL_MATERIAL, "0.14 0.11 0.09", "0.2 0.2 0.1", "0.2 0.2 0.2");
}
