#include "render/Shape.h"

#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include "tests/support/GlTestSupport.h"

using gltest::BackBuffer;
using gltest::Rgb;

// A 4 x 2 rectangle in the z = 0 plane, two triangles, texture coordinates but no normals.
// Normalised, it spans x in [-0.5, 0.5] and y in [-0.25, 0.25].
static const char* const RECTANGLE_OBJ =
    "v 10 0 0\nv 14 0 0\nv 14 2 0\nv 10 2 0\n"
    "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
    "f 1/1 2/2 3/3\nf 1/1 3/3 4/4\n";

// The colour is the normal attribute, so a mesh without normals shows the generic value;
// texcoord is read only to keep it an active attribute with a location.
static const char* const VERTEX_SOURCE =
    "attribute vec3 position;\n"
    "attribute vec3 normal;\n"
    "attribute vec2 texcoord;\n"
    "uniform mat4 transform;\n"
    "varying vec3 colour;\n"
    "void main() {\n"
    "    colour = normal + vec3(texcoord, 0.0) * 0.0001;\n"
    "    gl_Position = transform * vec4(position, 1.0);\n"
    "}\n";
static const char* const FRAGMENT_SOURCE =
    "varying vec3 colour;\n"
    "void main() { gl_FragColor = vec4(colour, 1.0); }\n";

static const Rgb BACKGROUND = {0, 0, 0};
static const Rgb GENERIC_NORMAL_COLOUR = {255, 255, 0};

class ShapeTest : public testing::Test {
  protected:
    void SetUp() override {
        program = gltest::buildProgram(VERTEX_SOURCE, FRAGMENT_SOURCE);
        glUseProgram(program);
        h_pos = glGetAttribLocation(program, "position");
        h_nor = glGetAttribLocation(program, "normal");
        h_tex = glGetAttribLocation(program, "texcoord");
        ASSERT_TRUE(h_pos >= 0 && h_nor >= 0 && h_tex >= 0);
        glVertexAttrib3f(static_cast<GLuint>(h_nor), 1.0f, 1.0f, 0.0f);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    void TearDown() override { glUseProgram(0); }

    void setTransform(const glm::vec3& shift) {
        glm::mat4 transform = glm::translate(glm::mat4(1.0f), shift);
        glUniformMatrix4fv(glGetUniformLocation(program, "transform"), 1, GL_FALSE,
                           glm::value_ptr(transform));
    }

    static GLint attribute(GLint location, GLenum property) {
        GLint value = 0;
        glGetVertexAttribiv(static_cast<GLuint>(location), property, &value);
        return value;
    }

    static GLint attributeCount() {
        GLint count = 0;
        glGetIntegerv(GL_MAX_VERTEX_ATTRIBS, &count);
        return count;
    }

    // Attribute locations whose array points into the buffer.
    static int locationsFedBy(GLuint buffer) {
        int fed = 0;
        for (GLint location = 0; location < attributeCount(); ++location) {
            fed += attribute(location, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING) ==
                   static_cast<GLint>(buffer);
        }
        return fed;
    }

    static void expectNothingLeftBound() {
        for (GLint location = 0; location < attributeCount(); ++location) {
            EXPECT_EQ(attribute(location, GL_VERTEX_ATTRIB_ARRAY_ENABLED), GL_FALSE) << location;
        }
        GLint arrayBuffer = -1;
        GLint elementBuffer = -1;
        glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &arrayBuffer);
        glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &elementBuffer);
        EXPECT_EQ(arrayBuffer, 0);
        EXPECT_EQ(elementBuffer, 0);
    }

    gltest::TempDir dir;
    GLuint program = 0;
    GLint h_pos = -1;
    GLint h_nor = -1;
    GLint h_tex = -1;
};

TEST_F(ShapeTest, UploadsOnlyTheArraysItHasAndDrawsWhereTheTransformPutsIt) {
    Shape shape;
    shape.load(dir.write("rectangle.obj", RECTANGLE_OBJ));
    shape.init();
    EXPECT_NE(shape.posBufID, 0u);
    EXPECT_EQ(shape.norBufID, 0u);
    EXPECT_NE(shape.texBufID, 0u);
    EXPECT_NE(shape.indBufID, 0u);
    expectNothingLeftBound();

    // Shifted up and right, so that a mesh drawn about the centre would be caught.
    setTransform(glm::vec3(0.25f, 0.5f, 0.0f));
    shape.draw(h_pos, h_nor, -1);

    // The rectangle covers normalised x in [-0.25, 0.75] and y in [0.25, 0.75].
    BackBuffer pixels;
    for (auto [x, y] : {std::pair{0.25f, 0.5f}, {-0.2f, 0.3f}, {0.7f, 0.7f}}) {
        EXPECT_EQ(pixels.atDevice(x, y), GENERIC_NORMAL_COLOUR) << x << ", " << y;
    }
    for (auto [x, y] : {std::pair{-0.3f, 0.5f}, {0.8f, 0.5f}, {0.25f, 0.2f}, {0.25f, 0.8f}}) {
        EXPECT_EQ(pixels.atDevice(x, y), BACKGROUND) << x << ", " << y;
    }
    expectNothingLeftBound();
    EXPECT_EQ(attribute(h_pos, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING),
              static_cast<GLint>(shape.posBufID));
    EXPECT_EQ(locationsFedBy(shape.texBufID), 0);
    EXPECT_EQ(attribute(h_nor, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING), 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ShapeTest, UnreadableFileIsReportedAndLeavesAShapeThatDrawsNothing) {
    std::string missing = dir.path("absent.obj");
    Shape shape;
    testing::internal::CaptureStderr();
    shape.load(missing);
    std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_NE(printed.find(missing), std::string::npos) << printed;
    EXPECT_TRUE(shape.empty());

    shape.init();
    setTransform(glm::vec3(0.0f));
    shape.draw(h_pos, h_nor, h_tex);
    EXPECT_EQ(shape.posBufID, 0u);
    EXPECT_EQ(shape.indBufID, 0u);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    BackBuffer pixels;
    EXPECT_EQ(pixels.countNear(BACKGROUND, 0), pixels.width * pixels.height);
    expectNothingLeftBound();
}
