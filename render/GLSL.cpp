#include "render/GLSL.h"

#include <GL/glu.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "render/DataFile.h"

namespace GLSL {

// Shader sources are a few kilobytes; a megabyte is already far past any real one.
static const long long SHADER_FILE_LIMIT = 1 << 20;

// GLU names only the errors it knows; an extension's code gets a null text.
static const char* errorText(GLenum error) {
    const GLubyte* text = gluErrorString(error);
    return text != nullptr ? reinterpret_cast<const char*>(text) : "unknown GL error";
}

int printError() {
    int seen = 0;
    for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError()) {
        printf("glError in file %s @ line %d: %s\n", "GLSL.cpp", __LINE__, errorText(error));
        seen = 1;
    }
    return seen;
}

template <typename QueryLength, typename FetchLog>
static void printInfoLog(GLuint object, QueryLength queryLength, FetchLog fetchLog,
                         const char* heading) {
    printError();
    GLint length = 0;
    queryLength(object, GL_INFO_LOG_LENGTH, &length);
    printError();
    // The length counts the terminating null: WebGL reports 1 for an empty log.
    if (length > 1) {
        char* log = static_cast<char*>(malloc(length));
        if (log == nullptr) {
            printf("ERROR: Could not allocate InfoLog buffer\n");
            exit(1);
        }
        GLsizei written = 0;
        fetchLog(object, length, &written, log);
        printf("%s InfoLog:\n%s\n\n", heading, log);
        free(log);
    }
    printError();
}

void printShaderInfoLog(GLuint shader) {
    printInfoLog(shader, glGetShaderiv, glGetShaderInfoLog, "Shader");
}

void printProgramInfoLog(GLuint program) {
    printInfoLog(program, glGetProgramiv, glGetProgramInfoLog, "Program");
}

bool readVersion(const char* text, int* major, int* minor) {
    static const char ES_PREFIX[] = "OpenGL ES ";
    if (text == nullptr) {
        return false;
    }
    if (strncmp(text, ES_PREFIX, sizeof ES_PREFIX - 1) == 0) {
        text += sizeof ES_PREFIX - 1;
    }
    return sscanf(text, "%d.%d", major, minor) == 2;
}

bool checkVersion() {
    int major = 0;
    int minor = 0;
    if (!readVersion(reinterpret_cast<const char*>(glGetString(GL_VERSION)), &major, &minor)) {
        printf("Invalid GL_VERSION format %d %d\n", major, minor);
    }
    if (major < 2) {
        printf("This shader example will not work due to opengl version, which is %d %d\n", major,
               minor);
        return false;
    }
    return true;
}

char* textFileRead(const char* path) {
    if (path == nullptr) {
        return nullptr;
    }
    const DataFile data = openDataFile(path, "rt", SHADER_FILE_LIMIT);
    if (data.file == nullptr) {
        printf("error loading %s: %s\n", path, data.refusal.c_str());
        return nullptr;
    }
    FILE* file = data.file;
    fseek(file, 0, SEEK_END);
    int count = static_cast<int>(ftell(file));
    rewind(file);
    char* text = nullptr;
    if (count > 0) {
        text = static_cast<char*>(malloc(static_cast<size_t>(count) + 1));
        if (text == nullptr) {
            printf("error allocating %d bytes for %s\n", count + 1, path);
        } else {
            size_t read = fread(text, 1, count, file);
            text[read] = '\0';
        }
    }
    fclose(file);
    return text;
}

int textFileWrite(const char* path, const char* text) {
    if (path == nullptr) {
        return 0;
    }
    FILE* file = fopen(path, "w");
    if (file == nullptr) {
        return 0;
    }
    size_t length = strlen(text);
    int whole = fwrite(text, 1, length, file) == length ? 1 : 0;
    fclose(file);
    return whole;
}

static void warnUnbound(const char* name, const char* calls) {
    std::cerr << "WARN: " << name
              << " cannot be bound (it either doesn't exist or has been optimized away). " << calls
              << " calls will silently ignore it.\n"
              << std::endl;
}

GLint getAttribLocation(GLuint program, const char* name) {
    GLint location = glGetAttribLocation(program, name);
    if (location < 0) {
        warnUnbound(name, "safe_glAttrib");
    }
    return location;
}

GLint getUniformLocation(GLuint program, const char* name) {
    GLint location = glGetUniformLocation(program, name);
    if (location < 0) {
        warnUnbound(name, "safe_glUniform");
    }
    return location;
}

void enableVertexAttribArray(GLint location) {
    if (location >= 0) {
        glEnableVertexAttribArray(static_cast<GLuint>(location));
    }
}

void disableVertexAttribArray(GLint location) {
    if (location >= 0) {
        glDisableVertexAttribArray(static_cast<GLuint>(location));
    }
}

void vertexAttribPointer(GLint location, GLint size, GLenum type, GLboolean normalized,
                         GLsizei stride, const GLvoid* pointer) {
    if (location >= 0) {
        glVertexAttribPointer(static_cast<GLuint>(location), size, type, normalized, stride,
                              pointer);
    }
}

}  // namespace GLSL
