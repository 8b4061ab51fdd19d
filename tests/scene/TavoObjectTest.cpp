#include "scene/TavoObject.h"

#include <cstring>

#include "render/MatrixStack.h"
#include "tests/support/GlTestSupport.h"

static const char* const TRIANGLE_OBJ = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";

TEST(TavoObject, DrawUploadsTheStackTopAtEntryAndItsColoursAndLeavesTheStackAsFound) {
    GLuint program = gltest::buildProgram(
        "attribute vec3 p;\nuniform mat4 MV;\nvoid main() { gl_Position = MV * vec4(p, 1.0); }",
        "uniform vec3 ka, kd, ks;\nvoid main() { gl_FragColor = vec4(ka + kd + ks, 1.0); }");
    glUseProgram(program);
    auto uniform = [program](const char* name) { return glGetUniformLocation(program, name); };
    const glm::vec3 ka(0.1f, 0.2f, 0.3f), kd(0.3f, 0.2f, 0.1f), ks(0.2f, 0.4f, 0.0f);
    gltest::TempDir dir;
    TavoObject zone;
    zone.load(dir.write("triangle.obj", TRIANGLE_OBJ).c_str());
    zone.init(ka, kd, ks);
    MatrixStack stack;  // two levels that differ: a push or a pop too many shows
    stack.pushMatrix();
    stack.translate(glm::vec3(0.1f, 0.2f, 0.0f));
    const glm::mat4 top = stack.topMatrix();
    zone.draw(uniform("MV"), glGetAttribLocation(program, "p"), -1, uniform("ka"), uniform("kd"),
              uniform("ks"), &stack);

    glm::mat4 uploaded(0.0f);
    glGetUniformfv(program, uniform("MV"), glm::value_ptr(uploaded));
    EXPECT_EQ(uploaded, top);
    for (auto [name, colour] : {std::pair{"ka", ka}, {"kd", kd}, {"ks", ks}}) {
        glm::vec3 value(-1.0f);
        glGetUniformfv(program, uniform(name), glm::value_ptr(value));
        EXPECT_EQ(value, colour) << name;
    }
    EXPECT_EQ(stack.topMatrix(), top);
    stack.popMatrix();
    EXPECT_EQ(stack.topMatrix(), glm::mat4(1.0f));
    glUseProgram(0);
}

TEST(TavoObject, ModelPathOf127CharactersIsKeptAndALongerOneRefused) {
    gltest::TempDir dir;
    auto modelAtPathOfLength = [&dir](size_t length) {
        return dir.write(std::string(length - dir.root.size() - 4, 'b') + ".obj", TRIANGLE_OBJ);
    };
    std::string fits = modelAtPathOfLength(127), tooLong = modelAtPathOfLength(128);
    TavoObject kept, refused;
    strcpy(refused.modelPath, "untouched");
    kept.load(fits.c_str());
    refused.load(tooLong.c_str());
    EXPECT_EQ(kept.modelPath, fits);
    EXPECT_FALSE(kept.shape.empty());
    EXPECT_STREQ(refused.modelPath, "untouched");
    EXPECT_TRUE(refused.shape.empty());
}
