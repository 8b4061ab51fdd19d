#include "render/GLSL.h"

#include <dlfcn.h>

#include <functional>
#include <sstream>

#include "tests/support/GlTestSupport.h"

// This driver keeps a single error flag: an error staged here is reported ahead of it.
static GLenum stagedError = GL_NO_ERROR;

GLenum glGetError() {
    static const auto driver = reinterpret_cast<GLenum (*)()>(dlsym(RTLD_NEXT, "glGetError"));
    GLenum staged = std::exchange(stagedError, static_cast<GLenum>(GL_NO_ERROR));
    return staged != GL_NO_ERROR ? staged : driver();
}

static std::string printedBy(const std::function<void()>& call) {
    testing::internal::CaptureStdout();
    call();
    return testing::internal::GetCapturedStdout();
}

// An error code that GLU has no text for must still be reported, not crash the report.
TEST(GLSL, PrintErrorReportsEveryPendingErrorFromItsOwnFileAndWhetherThereWasAny) {
    EXPECT_EQ(printedBy([] { EXPECT_EQ(GLSL::printError(), 0); }), "");
    stagedError = 0x9999;
    glEnable(0x1234);  // not a capability: the driver records GL_INVALID_ENUM
    std::istringstream lines(printedBy([] { EXPECT_EQ(GLSL::printError(), 1); }));
    std::string line;
    for (const char* error : {"", "invalid enumerant"}) {
        ASSERT_TRUE(std::getline(lines, line));
        EXPECT_EQ(line.rfind("glError in file GLSL.cpp @ line ", 0), 0u) << line;
        EXPECT_NE(line.find(error), std::string::npos) << line;
    }
    EXPECT_FALSE(std::getline(lines, line)) << line;
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(GLSL, MissingNamesGiveMinusOneWithAWarningAndTheArrayCallsSkipIt) {
    GLuint program = gltest::buildProgram(
        "attribute vec4 position;\nuniform mat4 P;\nvoid main() { gl_Position = P * position; }",
        "void main() {}");
    testing::internal::CaptureStderr();
    EXPECT_EQ(GLSL::getAttribLocation(program, "position"),
              glGetAttribLocation(program, "position"));
    EXPECT_EQ(GLSL::getUniformLocation(program, "P"), glGetUniformLocation(program, "P"));
    EXPECT_EQ(GLSL::getAttribLocation(program, "colour"), -1);
    EXPECT_EQ(GLSL::getUniformLocation(program, "shininess"), -1);
    const std::string warned = testing::internal::GetCapturedStderr();
    EXPECT_NE(warned.find("WARN: colour"), std::string::npos) << warned;
    EXPECT_NE(warned.find("WARN: shininess"), std::string::npos) << warned;
    // Passed on, -1 would be an index out of range: GL_INVALID_VALUE.
    GLSL::enableVertexAttribArray(-1);
    GLSL::disableVertexAttribArray(-1);
    GLSL::vertexAttribPointer(-1, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
