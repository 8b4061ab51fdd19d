#include "render/Setup.h"

#include <cstdio>
#include <cstdlib>
#include <new>

#include "app/Globals.h"
#include "app/StartupFailure.h"
#include "render/GLDialect.h"
#include "render/Image.h"
#include "render/StaticBuffer.h"
#include "render/StaticTexture.h"
#include "scene/ZoneMaterials.h"
#include "sim/Grid.h"

static const char* const VERTEX_SHADER_FILE = "vertex_shader.glsl";
static const char* const FRAGMENT_SHADER_FILE = "fragment_shader.glsl";
static const char* const TERRAIN_TEXTURE_FILE = "textures/terrain.bmp";
static const float TERRAIN_TEXTURE_REPEATS = 300.0f;

[[noreturn]] static void cannotRun() {
    failStartup(stderr, "Cannot run without a working shader program; exiting.");
}

static bool compile(GLuint shader, const char* kind, const char* file) {
    glCompileShader(shader);
    GLSL::printError();
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    GLSL::printShaderInfoLog(shader);
    if (!compiled) {
        printf("Error compiling %s shader %s\n", kind, file);
    }
    return compiled;
}

static GLuint buildShaderProgram() {
    GLuint vertexShader = glCreateShader(GL_VERTEX_SHADER);
    GLuint fragmentShader = glCreateShader(GL_FRAGMENT_SHADER);
    char* vertexText = GLSL::textFileRead(VERTEX_SHADER_FILE);
    char* fragmentText = GLSL::textFileRead(FRAGMENT_SHADER_FILE);
    if (vertexText == nullptr || fragmentText == nullptr) {
        cannotRun();
    }
    const std::string vertexSource = shaderSourceForThisGL(vertexText, false);
    const std::string fragmentSource = shaderSourceForThisGL(fragmentText, true);
    free(vertexText);
    free(fragmentText);
    const char* vertexChars = vertexSource.c_str();
    const char* fragmentChars = fragmentSource.c_str();
    glShaderSource(vertexShader, 1, &vertexChars, nullptr);
    glShaderSource(fragmentShader, 1, &fragmentChars, nullptr);

    bool vertexCompiled = compile(vertexShader, "vertex", VERTEX_SHADER_FILE);
    bool fragmentCompiled = compile(fragmentShader, "fragment", FRAGMENT_SHADER_FILE);
    if (!vertexCompiled || !fragmentCompiled) {
        cannotRun();
    }

    GLuint program = glCreateProgram();
    glAttachShader(program, vertexShader);
    glAttachShader(program, fragmentShader);
    glLinkProgram(program);
    GLSL::printError();
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    GLSL::printProgramInfoLog(program);
    if (!linked) {
        printf("Error linking shaders %s and %s\n", VERTEX_SHADER_FILE, FRAGMENT_SHADER_FILE);
        cannotRun();
    }
    return program;
}

static void lookUpLocations() {
    h_vertexPosition = GLSL::getAttribLocation(pid, "vertexPosition");
    h_vertexNormal = GLSL::getAttribLocation(pid, "vertexNormal");
    h_terrainVertTexCoords = GLSL::getAttribLocation(pid, "terrainVertTexCoords");
    h_P = GLSL::getUniformLocation(pid, "P");
    h_MV = GLSL::getUniformLocation(pid, "MV");
    h_terrainTexMat = GLSL::getUniformLocation(pid, "terrainTexMat");
    h_lightPos = GLSL::getUniformLocation(pid, "lightPos");
    h_terrainTexture = GLSL::getUniformLocation(pid, "terrainTexture");
    h_ka = GLSL::getUniformLocation(pid, "ka");
    h_kd = GLSL::getUniformLocation(pid, "kd");
    h_ks = GLSL::getUniformLocation(pid, "ks");
    h_s = GLSL::getUniformLocation(pid, "s");
}

static void initZone(TavoObject& zone, const Material& material) {
    zone.init(material.ka, material.kd, material.ks);
}

// GL reads rows aligned to 4 bytes, the loader delivers them packed: only widths whose
// rows are already a multiple of 4 bytes long upload as they are.
static bool rowsUploadAsStored(const Image& image) {
    if (image.width * 3 % 4 == 0) {
        return true;
    }
    printf("Rows of %s are not a multiple of 4 bytes long\n", TERRAIN_TEXTURE_FILE);
    return false;
}

static bool loadTerrainImage(Image* image) {
    if (image == nullptr) {
        printf("Error allocating space for image");
        return false;
    }
    if (ImageLoad(TERRAIN_TEXTURE_FILE, image) && rowsUploadAsStored(*image)) {
        return true;
    }
    printf("Error loading texture image\n");
    return false;
}

static void createTerrainTexture() {
    // Without a usable image the ground is drawn in one plain colour rather than not at all.
    static unsigned char plainGround[3] = {96, 128, 72};
    Image* image = new (std::nothrow) Image();
    bool loaded = loadTerrainImage(image);
    const Image texture = loaded ? *image : Image{1, 1, plainGround};

    terrainTexID = createStaticTexture(texture);

    if (image != nullptr) {
        free(image->pixels);  // null unless the loader allocated it
    }
    delete image;
}

static void uploadTerrain() {
    positionBufID = createStaticBuffer(GL_ARRAY_BUFFER, positionBuf);
    normalBufID = createStaticBuffer(GL_ARRAY_BUFFER, normalBuf);
    terrainTexCoordsBufID = createStaticBuffer(GL_ARRAY_BUFFER, terrainTexCoordsBuf);
    indexBufID = createStaticBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuf);
    terrainEdgeBufID = createEdgeBuffer(indexBuf);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

void initGL() {
    if (!loadGLFunctions()) {
        failStartup(stderr, "Cannot reach the GL 2.0 functions; exiting.");
    }
    // Said first: on GL 1.x the shaders would fail to build with less telling errors.
    if (!GLSL::checkVersion()) {
        failStartup(nullptr, "Varnock | Hollenby needs OpenGL 2.0 or later.");
    }
    glClearColor(0.8f, 0.95f, 1.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    pid = buildShaderProgram();
    lookUpLocations();
    initZone(residential, RESIDENTIAL_MATERIAL);
    initZone(commercial, COMMERCIAL_MATERIAL);
    initZone(industrial, INDUSTRIAL_MATERIAL);
    seedGrid(cells);
    createTerrainTexture();
    uploadTerrain();
    terrainTexMat = glm::mat3(0.0f);
    terrainTexMat[0][0] = TERRAIN_TEXTURE_REPEATS;
    terrainTexMat[1][1] = TERRAIN_TEXTURE_REPEATS;
    terrainTexMat[2][2] = 1.0f;
}
