#include "render/GLSL.h"
#include "render/ShaderDialect.h"

#include <dlfcn.h>

#include <cstdio>
#include <functional>

#include <GL/freeglut.h>
#include <gtest/gtest.h>

// This driver keeps a single error flag: an error staged here is reported ahead of it.
static GLenum stagedError = GL_NO_ERROR;

GLenum glGetError() {
    static const auto driver = reinterpret_cast<GLenum (*)()>(dlsym(RTLD_NEXT, "glGetError"));
    GLenum staged = std::exchange(stagedError, static_cast<GLenum>(GL_NO_ERROR));
    return staged != GL_NO_ERROR ? staged : driver();
}

static GLuint buildProgram(const char* vertexSource, const char* fragmentSource) {
    GLuint program = glCreateProgram();
    for (auto [kind, source] :
         {std::pair{GL_VERTEX_SHADER, vertexSource}, {GL_FRAGMENT_SHADER, fragmentSource}}) {
        GLuint shader = glCreateShader(kind);
        glShaderSource(shader, 1, &source, nullptr);
        glCompileShader(shader);
        glAttachShader(program, shader);
    }
    glLinkProgram(program);
    return program;
}

static std::string printedBy(const std::function<void()>& call) {
    testing::internal::CaptureStdout();
    call();
    return testing::internal::GetCapturedStdout();
}

TEST(GLSL, PrintErrorReportsEveryPendingError) {
    EXPECT_EQ(printedBy([] { EXPECT_EQ(GLSL::printError(), 0); }), "");
    stagedError = 0x9999;  // GLU has no text for it, yet it must be reported
    glEnable(0x1234);      // not a capability: the driver records GL_INVALID_ENUM
    const std::string printed = printedBy([] { EXPECT_EQ(GLSL::printError(), 1); });
    const char* line = "glError in file GLSL.cpp @ line %*u: %*[^\n]\n%n";
    int first = 0, second = 0;
    sscanf(printed.c_str(), line, &first);
    sscanf(printed.c_str() + first, line, &second);
    EXPECT_TRUE(first > 0 && second > 0 && first + second == int(printed.size())) << printed;
    EXPECT_NE(printed.find("invalid enumerant"), std::string::npos) << printed;
    EXPECT_EQ(printed.find("(null)"), std::string::npos) << printed;
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(GLSL, MissingNamesAreSkipped) {
    GLuint program = buildProgram(
        "attribute vec4 position;\nuniform mat4 P;\nvoid main() { gl_Position = P * position; }",
        "void main() {}");
    EXPECT_GE(GLSL::getAttribLocation(program, "position") + GLSL::getUniformLocation(program, "P"),
              0);
    EXPECT_EQ(GLSL::getAttribLocation(program, "colour"), -1);
    // Passed on, -1 would be an index out of range: GL_INVALID_VALUE.
    GLSL::enableVertexAttribArray(-1);
    GLSL::disableVertexAttribArray(-1);
    GLSL::vertexAttribPointer(-1, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(GLSL, VersionIsReadFromDesktopAndEsTexts) {
    const std::pair<const char*, int> cases[] = {
        {"4.5 (Compatibility Profile) Mesa 22.3.6", 45},
        {"1.4 Mesa 22.3.6", 14},
        {"OpenGL ES 3.0 (WebGL 2.0 (OpenGL ES 3.0 Chromium))", 30},
        {"OpenGL ES 2.0 (WebGL 1.0)", 20},
        {"WebGL 2.0", -1},
        {nullptr, -1}};
    for (const auto& [text, version] : cases) {
        int major = 0, minor = 0;
        const bool read = GLSL::readVersion(text, &major, &minor);
        EXPECT_EQ(read ? 10 * major + minor : -1, version) << (text ? text : "no text");
    }
}

// This GL compiles GLSL ES 1.00 too: the shader files as the web's dialect rewrites them.
TEST(GLSL, ShaderFilesBuildInTheWebDialect) {
    std::string sources[2];
    const char* files[2] = {DATA_DIR "/vertex_shader.glsl", DATA_DIR "/fragment_shader.glsl"};
    for (int i = 0; i < 2; ++i) {
        char* text = GLSL::textFileRead(files[i]);
        ASSERT_NE(text, nullptr) << files[i];
        sources[i] = toEssl100(text, i == 1);
        free(text);
    }
    GLuint program = buildProgram(sources[0].c_str(), sources[1].c_str());
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    EXPECT_TRUE(linked) << printedBy([program] { GLSL::printProgramInfoLog(program); });
    EXPECT_GE(GLSL::getUniformLocation(program, "s"), 0);
}
