// What the GL tests share: reading the back buffer and building small shader programs.
#pragma once

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <glm/glm.hpp>
#include <utility>
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

}  // namespace gltest
