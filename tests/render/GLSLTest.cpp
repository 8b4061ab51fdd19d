#include "render/GLSL.h"

#include <GL/glu.h>
#include <dlfcn.h>

#include "tests/support/GlTestSupport.h"

// This driver keeps a single error flag: an error staged here is reported ahead of it.
static GLenum stagedError = GL_NO_ERROR;

GLenum glGetError() {
    static const auto driver = reinterpret_cast<GLenum (*)()>(dlsym(RTLD_NEXT, "glGetError"));
    GLenum staged = std::exchange(stagedError, static_cast<GLenum>(GL_NO_ERROR));
    return staged != GL_NO_ERROR ? staged : driver();
}

template <typename Call>
static std::string printedBy(Call call) {
    testing::internal::CaptureStdout();
    call();
    return testing::internal::GetCapturedStdout();
}

// The report of an error names printError's own line in the utilities' source.
static std::string errorLine(GLenum error) {
    std::string source = std::filesystem::path(DATA_DIR).parent_path() / "render/GLSL.cpp";
    std::ifstream in(source);
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::string before = text.substr(0, text.find("glError in"));
    long line = 1 + std::count(before.begin(), before.end(), '\n');
    return "glError in file " + source + " @ line " + std::to_string(line) + ": " +
           reinterpret_cast<const char*>(gluErrorString(error)) + "\n";
}

TEST(GLSL, PrintErrorReportsEveryPendingErrorInOrderFromItsOwnLineAndWhetherThereWasAny) {
    EXPECT_EQ(printedBy([] { EXPECT_EQ(GLSL::printError(), 0); }), "");
    stagedError = GL_INVALID_VALUE;
    glEnable(0x1234);  // not a capability: the driver records GL_INVALID_ENUM
    EXPECT_EQ(printedBy([] { EXPECT_EQ(GLSL::printError(), 1); }),
              errorLine(GL_INVALID_VALUE) + errorLine(GL_INVALID_ENUM));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(GLSL, InfoLogsArePrintedUnderTheirHeadingAndEmptyOnesNotAtAll) {
    GLuint program = gltest::buildProgram("void main() { undeclared = 1.0; }", "void main() {}");
    GLuint shader = 0;
    glGetAttachedShaders(program, 1, nullptr, &shader);
    char shaderLog[4096] = "", programLog[4096] = "";
    glGetShaderInfoLog(shader, sizeof shaderLog, nullptr, shaderLog);
    glGetProgramInfoLog(program, sizeof programLog, nullptr, programLog);
    ASSERT_TRUE(shaderLog[0] && programLog[0]);
    EXPECT_EQ(printedBy([&] {
                  GLSL::printShaderInfoLog(shader);
                  GLSL::printProgramInfoLog(program);
                  GLSL::printShaderInfoLog(glCreateShader(GL_FRAGMENT_SHADER));
                  GLSL::printProgramInfoLog(glCreateProgram());
              }),
              "Shader InfoLog:\n" + std::string(shaderLog) + "\n\nProgram InfoLog:\n" + programLog +
                  "\n\n");
}

TEST(GLSL, CheckVersionAcceptsThisContextSilently) {
    EXPECT_EQ(printedBy(GLSL::checkVersion), "");
}

TEST(GLSL, TextFilesAreWrittenWholeReadBackWithATerminatorAndAbsentOnesGiveNullOrZero) {
    gltest::TempDir dir;
    const std::string text = "void main() {\n\tgl_FragColor = vec4(1.0);\n}";
    std::string full = dir.write("full.glsl", std::string(100, '#'));
    EXPECT_EQ(printedBy([&] {
                  EXPECT_EQ(GLSL::textFileWrite(full.c_str(), text.c_str()), 1);
                  EXPECT_EQ(GLSL::textFileWrite((dir.root + "no/such.glsl").c_str(), "x"), 0);
                  EXPECT_EQ(GLSL::textFileWrite(nullptr, "x"), 0);
                  EXPECT_EQ(GLSL::textFileRead(dir.write("empty.glsl", "").c_str()), nullptr);
                  EXPECT_EQ(GLSL::textFileRead(nullptr), nullptr);
                  EXPECT_EQ(GLSL::textFileRead((dir.root + "missing.glsl").c_str()), nullptr);
              }),
              "error loading " + dir.root + "missing.glsl\n");
    // A used block of the size read comes back first: only a terminator can end the text.
    free(memset(malloc(text.size() + 1), '#', text.size() + 1));
    char* read = GLSL::textFileRead(full.c_str());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(std::string(read, text.size() + 1), text + '\0');
    free(read);
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
    EXPECT_EQ(GLSL::getUniformLocation(program, "s"), -1);
    const std::string unbound =
        " cannot be bound (it either doesn't exist or has been optimized away). safe_gl";
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "WARN: colour" + unbound + "Attrib calls will silently ignore it.\n\n" + "WARN: s" +
                  unbound + "Uniform calls will silently ignore it.\n\n");
    // Passed on, -1 would be an index out of range: GL_INVALID_VALUE.
    GLSL::enableVertexAttribArray(-1);
    GLSL::disableVertexAttribArray(-1);
    GLSL::vertexAttribPointer(-1, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
