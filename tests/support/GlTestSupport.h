// What the GL tests share: reading the back buffer, small shader programs and scratch files.
#pragma once

#include <GL/freeglut.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <glm/glm.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <string>
#include <vector>

namespace gltest {

struct BackBuffer {
    BackBuffer() : bytes(3 * width * height) {
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, bytes.data());
    }
    // The pixel under a point given in normalised device coordinates.
    glm::vec3 at(float x, float y) const {
        size_t index = 3 * (static_cast<size_t>((y + 1.0f) * 0.5f * height) * width +
                            static_cast<size_t>((x + 1.0f) * 0.5f * width));
        return {bytes[index], bytes[index + 1], bytes[index + 2]};
    }

    int width = glutGet(GLUT_WINDOW_WIDTH), height = glutGet(GLUT_WINDOW_HEIGHT);
    std::vector<unsigned char> bytes;
};

inline GLuint buildProgram(const char* vertexSource, const char* fragmentSource) {
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

// A fresh scratch directory, removed with what was written into it.
struct TempDir {
    ~TempDir() { std::filesystem::remove_all(root); }
    std::string write(const std::string& name, const std::string& content) const {
        std::ofstream(root + name, std::ios::binary) << content;
        return root + name;
    }

    const std::string root =
        mkdtemp(std::string(P_tmpdir "/gl_tests.XXXXXX").data()) + std::string("/");
};

}  // namespace gltest
