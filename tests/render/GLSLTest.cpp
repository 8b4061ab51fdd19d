#include "render/GLSL.h"

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
