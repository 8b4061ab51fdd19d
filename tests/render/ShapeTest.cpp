#include "render/Shape.h"

#include "tests/support/GlTestSupport.h"

TEST(Shape, DrawsTheNormalisedMeshInTheFramebufferAndAMissingModelNotAtAll) {
    // Shifted up and right; the normal is the colour, so a mesh without normals is yellow.
    GLuint program = gltest::buildProgram(
        "attribute vec3 position, normal;\nvoid main() {\n    gl_FrontColor = vec4(normal, 1.0);\n"
        "    gl_Position = vec4(position + vec3(0.25, 0.5, 0.0), 1.0);\n}",
        "void main() { gl_FragColor = gl_Color; }");
    glUseProgram(program);
    GLint h_pos = glGetAttribLocation(program, "position");
    GLint h_nor = glGetAttribLocation(program, "normal");
    glVertexAttrib3f(static_cast<GLuint>(h_nor), 1.0f, 1.0f, 0.0f);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    gltest::TempDir dir;
    Shape missing;
    missing.load(dir.root + "absent.obj");
    missing.init();
    missing.draw(h_pos, h_nor, -1);
    std::vector<unsigned char> pixels = gltest::BackBuffer().bytes;
    EXPECT_EQ(pixels, std::vector<unsigned char>(pixels.size(), 0));

    // 4 by 2, without normals: x in [-0.5, 0.5] and y in [-0.25, 0.25] once normalised.
    Shape rectangle;
    rectangle.load(dir.write("rectangle.obj",
                             "v 10 0 0\nv 14 0 0\nv 14 2 0\nv 10 2 0\n"
                             "f 1 2 3\nf 1 3 4"));
    rectangle.init();
    rectangle.draw(h_pos, h_nor, -1);
    gltest::BackBuffer drawn;
    const glm::vec3 yellow(255, 255, 0), black(0);
    for (auto [x, y, colour] : {std::tuple{-0.2f, 0.3f, yellow},
                                {0.7f, 0.7f, yellow},
                                {-0.3f, 0.5f, black},
                                {0.25f, 0.8f, black}}) {
        EXPECT_EQ(drawn.at(x, y), colour) << x << ", " << y;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glUseProgram(0);
}
