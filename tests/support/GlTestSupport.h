// Helpers for tests that need the window's GL context: reading the back buffer, building
// small shader programs, and scratch directories with files written into them.
#pragma once

#include <GL/freeglut.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <glm/glm.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "render/GLSL.h"

namespace gltest {

using Rgb = std::array<int, 3>;

inline Rgb toRgb(const glm::vec3& colour) {
    glm::vec3 clamped = glm::clamp(colour, 0.0f, 1.0f) * 255.0f + 0.5f;
    return {static_cast<int>(clamped.r), static_cast<int>(clamped.g), static_cast<int>(clamped.b)};
}

inline bool near(const Rgb& a, const Rgb& b, int tolerance) {
    for (int k = 0; k < 3; ++k) {
        if (std::abs(a[k] - b[k]) > tolerance) {
            return false;
        }
    }
    return true;
}

// A snapshot of the back buffer; pixel (0, 0) is the bottom-left corner.
class BackBuffer {
  public:
    BackBuffer()
        : width(glutGet(GLUT_WINDOW_WIDTH)),
          height(glutGet(GLUT_WINDOW_HEIGHT)),
          bytes(static_cast<size_t>(width) * height * 3) {
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, bytes.data());
    }

    Rgb at(int x, int y) const {
        size_t offset = (static_cast<size_t>(y) * width + x) * 3;
        return {bytes[offset], bytes[offset + 1], bytes[offset + 2]};
    }

    // The pixel under a point given in normalised device coordinates.
    Rgb atDevice(float x, float y) const {
        return at(static_cast<int>((x + 1.0f) * 0.5f * width),
                  static_cast<int>((y + 1.0f) * 0.5f * height));
    }

    int countNear(const Rgb& colour, int tolerance) const {
        int count = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                count += near(at(x, y), colour, tolerance) ? 1 : 0;
            }
        }
        return count;
    }

    const int width;
    const int height;

  private:
    std::vector<unsigned char> bytes;
};

inline GLuint compileShader(GLenum kind, const char* source) {
    GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    return shader;
}

// Links the two sources; the caller checks GL_LINK_STATUS where it matters.
inline GLuint buildProgram(const char* vertexSource, const char* fragmentSource) {
    GLuint program = glCreateProgram();
    glAttachShader(program, compileShader(GL_VERTEX_SHADER, vertexSource));
    glAttachShader(program, compileShader(GL_FRAGMENT_SHADER, fragmentSource));
    glLinkProgram(program);
    return program;
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// A fresh directory under the system's temporary directory, removed with its content.
class TempDir {
  public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "gl_tests.XXXXXX").string();
        root = mkdtemp(pattern.data());
    }
    ~TempDir() { std::filesystem::remove_all(root); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string path(const std::string& name) const { return (root / name).string(); }

    std::string write(const std::string& name, const std::string& content) const {
        std::string file = path(name);
        std::ofstream(file, std::ios::binary) << content;
        return file;
    }

  private:
    std::filesystem::path root;
};

// Makes a directory the working directory for the lifetime of the object.
class WorkingDirectory {
  public:
    explicit WorkingDirectory(const std::string& dir) : previous(std::filesystem::current_path()) {
        std::filesystem::current_path(dir);
    }
    ~WorkingDirectory() { std::filesystem::current_path(previous); }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

  private:
    std::filesystem::path previous;
};

}  // namespace gltest
