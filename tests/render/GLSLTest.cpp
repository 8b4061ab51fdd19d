#include "render/GLSL.h"

#include <GL/glu.h>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <string>

#include "tests/support/GlTestSupport.h"

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

// GL may hold several error flags, but this driver keeps one: a second pending error is staged
// ahead of the driver's own. With nothing staged every call goes straight to the driver.
static std::deque<GLenum> stagedErrors;

GLenum glGetError() {
    if (!stagedErrors.empty()) {
        GLenum staged = stagedErrors.front();
        stagedErrors.pop_front();
        return staged;
    }
    using GetError = GLenum (*)();
    static const auto driverGetError = reinterpret_cast<GetError>(dlsym(RTLD_NEXT, "glGetError"));
    return driverGetError();
}

static const char* const VERTEX_SOURCE =
    "attribute vec3 position;\n"
    "uniform mat4 transform;\n"
    "void main() { gl_Position = transform * vec4(position, 1.0); }\n";
static const char* const FRAGMENT_SOURCE = "void main() { gl_FragColor = vec4(1.0); }\n";

// The source of the utilities, named as the compiler names it (both are compiled by path
// from the same source tree).
static std::string utilitySourcePath() {
    std::filesystem::path testSource(__FILE__);
    return (testSource.parent_path().parent_path().parent_path() / "render" / "GLSL.cpp").string();
}

static int lineOf(const std::string& text, const std::string& fragment) {
    size_t at = text.find(fragment);
    EXPECT_NE(at, std::string::npos) << fragment;
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + at, '\n'));
}

static std::string errorLine(GLenum error) {
    std::string source = utilitySourcePath();
    int line = lineOf(gltest::readFile(source), "printf(\"glError in file");
    return "glError in file " + source + " @ line " + std::to_string(line) + ": " +
           reinterpret_cast<const char*>(gluErrorString(error)) + "\n";
}

TEST(GLSLPrintError, IsSilentAndReturnsZeroWithoutPendingError) {
    ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    CaptureStdout();
    EXPECT_EQ(GLSL::printError(), 0);
    EXPECT_EQ(GetCapturedStdout(), "");
}

TEST(GLSLPrintError, DrainsEveryPendingErrorInOrderNamingItsOwnSourceLine) {
    stagedErrors.push_back(GL_INVALID_VALUE);
    glEnable(0x1234);  // not a capability: the driver records GL_INVALID_ENUM
    CaptureStdout();
    int result = GLSL::printError();
    std::string printed = GetCapturedStdout();
    EXPECT_EQ(result, 1);
    EXPECT_EQ(printed, errorLine(GL_INVALID_VALUE) + errorLine(GL_INVALID_ENUM));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

template <typename QueryLength, typename FetchLog>
static std::string fetchedLog(GLuint object, QueryLength queryLength, FetchLog fetchLog) {
    GLint length = 0;
    queryLength(object, GL_INFO_LOG_LENGTH, &length);
    std::string log(static_cast<size_t>(length), '\0');
    fetchLog(object, length, nullptr, log.data());
    return log.c_str();
}

TEST(GLSLInfoLog, FailedCompileAndLinkPrintTheirLogsUnderAHeading) {
    GLuint broken = gltest::compileShader(GL_VERTEX_SHADER, "void main() { undeclared = 1.0; }\n");
    GLuint program = glCreateProgram();
    glAttachShader(program, broken);
    glLinkProgram(program);
    std::string shaderLog = fetchedLog(broken, glGetShaderiv, glGetShaderInfoLog);
    std::string programLog = fetchedLog(program, glGetProgramiv, glGetProgramInfoLog);
    ASSERT_FALSE(shaderLog.empty());
    ASSERT_FALSE(programLog.empty());

    CaptureStdout();
    GLSL::printShaderInfoLog(broken);
    GLSL::printProgramInfoLog(program);
    EXPECT_EQ(GetCapturedStdout(), "Shader InfoLog:\n" + shaderLog + "\n\n" + "Program InfoLog:\n" +
                                       programLog + "\n\n");
}

TEST(GLSLInfoLog, ObjectsWithAnEmptyLogPrintNothing) {
    GLuint shader = glCreateShader(GL_FRAGMENT_SHADER);
    GLuint program = glCreateProgram();
    ASSERT_EQ(fetchedLog(shader, glGetShaderiv, glGetShaderInfoLog), "");
    ASSERT_EQ(fetchedLog(program, glGetProgramiv, glGetProgramInfoLog), "");
    CaptureStdout();
    GLSL::printShaderInfoLog(shader);
    GLSL::printProgramInfoLog(program);
    EXPECT_EQ(GetCapturedStdout(), "");
}

TEST(GLSLCheckVersion, PassesSilentlyOnThisContext) {
    CaptureStdout();
    GLSL::checkVersion();
    EXPECT_EQ(GetCapturedStdout(), "");
}

TEST(GLSLTextFile, ReadGivesTheBytesWithATerminatorOrNullWithoutText) {
    gltest::TempDir dir;
    const std::string text = "void main() {\n\tgl_FragColor = vec4(1.0);\n}\n";
    std::string full = dir.write("shader.glsl", text);
    std::string empty = dir.write("empty.glsl", "");
    std::string missing = dir.path("missing.glsl");

    CaptureStdout();
    char* read = GLSL::textFileRead(full.c_str());
    char* fromEmpty = GLSL::textFileRead(empty.c_str());
    char* fromMissing = GLSL::textFileRead(missing.c_str());
    char* fromNull = GLSL::textFileRead(nullptr);
    std::string printed = GetCapturedStdout();

    ASSERT_NE(read, nullptr);
    EXPECT_EQ(std::string(read, text.size() + 1), text + '\0');
    EXPECT_EQ(fromEmpty, nullptr);
    EXPECT_EQ(fromMissing, nullptr);
    EXPECT_EQ(fromNull, nullptr);
    EXPECT_EQ(printed, "error loading " + missing + "\n");
    free(read);
}

TEST(GLSLTextFile, WriteStoresTheWholeTextAndReportsFailureByResultOnly) {
    gltest::TempDir dir;
    const std::string text = "line one\nline two\n";
    std::string target = dir.write("out.txt", "old content that is longer than the new one");

    CaptureStdout();
    EXPECT_EQ(GLSL::textFileWrite(target.c_str(), text.c_str()), 1);
    EXPECT_EQ(GLSL::textFileWrite(dir.path("no/such/dir.txt").c_str(), text.c_str()), 0);
    EXPECT_EQ(GLSL::textFileWrite(nullptr, text.c_str()), 0);
    EXPECT_EQ(GetCapturedStdout(), "");
    EXPECT_EQ(gltest::readFile(target), text);
}

class GLSLLocation : public testing::Test {
  protected:
    void SetUp() override {
        program = gltest::buildProgram(VERTEX_SOURCE, FRAGMENT_SOURCE);
        GLint linked = GL_FALSE;
        glGetProgramiv(program, GL_LINK_STATUS, &linked);
        ASSERT_TRUE(linked);
    }

    GLuint program = 0;
};

TEST_F(GLSLLocation, OnlyMissingNamesWarnOnStandardErrorAndGiveMinusOne) {
    const std::string unbound =
        " cannot be bound (it either doesn't exist or has been optimized away). ";
    CaptureStderr();
    EXPECT_EQ(GLSL::getAttribLocation(program, "position"),
              glGetAttribLocation(program, "position"));
    EXPECT_EQ(GLSL::getUniformLocation(program, "transform"),
              glGetUniformLocation(program, "transform"));
    EXPECT_EQ(GLSL::getAttribLocation(program, "colour"), -1);
    EXPECT_EQ(GLSL::getUniformLocation(program, "shininess"), -1);
    EXPECT_EQ(GetCapturedStderr(), "WARN: colour" + unbound +
                                       "safe_glAttrib calls will silently ignore it.\n\n" +
                                       "WARN: shininess" + unbound +
                                       "safe_glUniform calls will silently ignore it.\n\n");
}

static GLint attribute(GLuint location, GLenum property) {
    GLint value = 0;
    glGetVertexAttribiv(location, property, &value);
    return value;
}

TEST_F(GLSLLocation, AttributeArrayCallsApplyToValidLocationsAndSkipMissingOnes) {
    GLuint location = static_cast<GLuint>(glGetAttribLocation(program, "position"));
    static const float vertices[6] = {};

    GLSL::enableVertexAttribArray(static_cast<GLint>(location));
    GLSL::vertexAttribPointer(static_cast<GLint>(location), 2, GL_FLOAT, GL_FALSE, 8, vertices);
    EXPECT_EQ(attribute(location, GL_VERTEX_ATTRIB_ARRAY_ENABLED), GL_TRUE);
    EXPECT_EQ(attribute(location, GL_VERTEX_ATTRIB_ARRAY_STRIDE), 8);
    void* pointer = nullptr;
    glGetVertexAttribPointerv(location, GL_VERTEX_ATTRIB_ARRAY_POINTER, &pointer);
    EXPECT_EQ(pointer, vertices);

    // Forwarded, -1 would become an out-of-range index and raise GL_INVALID_VALUE.
    GLSL::enableVertexAttribArray(-1);
    GLSL::disableVertexAttribArray(-1);
    GLSL::vertexAttribPointer(-1, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(attribute(location, GL_VERTEX_ATTRIB_ARRAY_ENABLED), GL_TRUE);

    GLSL::disableVertexAttribArray(static_cast<GLint>(location));
    EXPECT_EQ(attribute(location, GL_VERTEX_ATTRIB_ARRAY_ENABLED), GL_FALSE);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
