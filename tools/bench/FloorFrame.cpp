// The floor under the frame: the GL calls that a frame makes for the terrain and for each
// building, with the same shaders, buffers, texture and uniform values, but with every
// value worked out before the first frame. It walks no grid, keeps no matrix stack and
// takes no lock, so its frames cost what the GL calls alone cost. Its set-up builds only
// what those calls use. Run from the data directory: floor_frame LIVE, then as frame_bench.
#include <tiny_obj_loader.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "render/Camera.h"
#include "render/GLDialect.h"
#include "render/Image.h"
#include "render/MatrixStack.h"
#include "render/MeshArrays.h"
#include "render/StaticBuffer.h"
#include "render/StaticTexture.h"
#include "render/VertexAttribute.h"
#include "scene/Terrain.h"
#include "scene/ZoneMaterials.h"
#include "tools/bench/BenchCity.h"
#include "tools/bench/BenchLoop.h"

// The values that the program's scene, set-up and frame give these uniforms.
static const glm::vec3 LIGHT_POSITION(2.0f, 2.0f, 2.0f);
static const glm::vec3 NO_LIGHT_RESPONSE(0.0f);
static const float BUILDING_SHININESS = 300.0f;
static const float TERRAIN_TEXTURE_REPEATS = 300.0f;
static const glm::vec3 GROUND_SCALE(600.0f, 1.0f, 600.0f);
static const int LATTICE_STEP = 3;
static const int LATTICE_ORIGIN = -450;

struct Locations {
    GLint position, normal, texCoords, P, MV, texMat, lightPos, texture, ka, kd, ks, s;
};

struct Mesh {
    GLuint positions, normals, indices;
    GLsizei count;
};

struct Zone {
    Mesh mesh;
    Material material;
};

struct PlacedBuilding {
    glm::mat4 MV;
    const Zone* zone;
};

static GLuint program;
static Locations at;
static Mesh ground;
static GLuint groundTexCoords;
static GLuint groundTexture;
static glm::mat3 groundTexMat(1.0f);
static glm::mat4 projection;
static glm::mat4 view;
static glm::mat4 groundMV;
static Zone zones[3];
static std::vector<PlacedBuilding> buildings;

// In this GL's dialect, as the program's set-up compiles them.
static GLuint compileShader(GLenum kind, const char* path) {
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    const std::string source =
        shaderSourceForThisGL(text.str().c_str(), kind == GL_FRAGMENT_SHADER);
    const char* sources[] = {source.c_str()};
    GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, sources, nullptr);
    glCompileShader(shader);
    return shader;
}

static void buildProgram() {
    program = glCreateProgram();
    glAttachShader(program, compileShader(GL_VERTEX_SHADER, "vertex_shader.glsl"));
    glAttachShader(program, compileShader(GL_FRAGMENT_SHADER, "fragment_shader.glsl"));
    glLinkProgram(program);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (!linked) {
        fprintf(stderr, "floor: the shaders do not link\n");
        exit(1);
    }
    at = {glGetAttribLocation(program, "vertexPosition"),
          glGetAttribLocation(program, "vertexNormal"),
          glGetAttribLocation(program, "terrainVertTexCoords"),
          glGetUniformLocation(program, "P"),
          glGetUniformLocation(program, "MV"),
          glGetUniformLocation(program, "terrainTexMat"),
          glGetUniformLocation(program, "lightPos"),
          glGetUniformLocation(program, "terrainTexture"),
          glGetUniformLocation(program, "ka"),
          glGetUniformLocation(program, "kd"),
          glGetUniformLocation(program, "ks"),
          glGetUniformLocation(program, "s")};
}

static Mesh uploadMesh(const std::vector<float>& positions, const std::vector<float>& normals,
                       const std::vector<unsigned int>& indices) {
    return {createStaticBuffer(GL_ARRAY_BUFFER, positions),
            createStaticBuffer(GL_ARRAY_BUFFER, normals),
            createStaticBuffer(GL_ELEMENT_ARRAY_BUFFER, indices),
            static_cast<GLsizei>(indices.size())};
}

// One read of the model; each zone gets its own buffers, as the program's zones do.
static void buildZones() {
    tinyobj::attrib_t attrib;
    std::vector<tinyobj::shape_t> shapes;
    std::vector<tinyobj::material_t> materials;
    std::string warn;
    std::string err;
    if (!tinyobj::LoadObj(&attrib, &shapes, &materials, &warn, &err, "models/cubeTex.obj") ||
        shapes.empty()) {
        fprintf(stderr, "floor: cannot read the building model\n%s", err.c_str());
        exit(1);
    }
    MeshArrays cube = buildMeshArrays(attrib, shapes[0]);
    normalizeToUnitBox(cube.positions);
    const Material zoneMaterials[] = {RESIDENTIAL_MATERIAL, COMMERCIAL_MATERIAL,
                                      INDUSTRIAL_MATERIAL};
    for (int z = 0; z < 3; ++z) {
        zones[z] = {uploadMesh(cube.positions, cube.normals, cube.indices), zoneMaterials[z]};
    }
}

// The program keeps its terrain arrays for the whole run, and so does the floor: freed, they
// would leave the top of the heap free, and the renderer's per-frame allocations would then
// grow and trim the heap every frame, a cost that the program does not pay.
static std::vector<float> groundPositions;
static std::vector<float> groundNormals;
static std::vector<float> groundTexCoordArray;
static std::vector<unsigned int> groundIndices;

static void buildGround() {
    buildTerrain({&groundPositions, &groundNormals, &groundTexCoordArray, &groundIndices});
    ground = uploadMesh(groundPositions, groundNormals, groundIndices);
    groundTexCoords = createStaticBuffer(GL_ARRAY_BUFFER, groundTexCoordArray);

    Image image{};
    if (!ImageLoad("textures/terrain.bmp", &image)) {
        exit(1);
    }
    groundTexture = createStaticTexture(image);
    free(image.pixels);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    groundTexMat[0][0] = TERRAIN_TEXTURE_REPEATS;
    groundTexMat[1][1] = TERRAIN_TEXTURE_REPEATS;
}

// Every matrix the frame would build on its stacks, built once with the camera's own maths.
static void placeCity(int live) {
    Camera camera;
    camera.setWindowSize(benchWindowSize().x, benchWindowSize().y);
    MatrixStack P;
    camera.applyProjectionMatrix(&P);
    projection = P.topMatrix();
    MatrixStack V;
    camera.applyViewMatrix(&V);
    view = V.topMatrix();
    groundMV = view * glm::scale(glm::mat4(1.0f), GROUND_SCALE);
    for (const BenchBuilding& b : benchCity(live)) {
        glm::vec3 place(static_cast<float>(LATTICE_STEP * b.row + LATTICE_ORIGIN), 0.5f,
                        static_cast<float>(LATTICE_STEP * b.col + LATTICE_ORIGIN));
        glm::vec3 size(b.footprint, b.height, b.footprint);
        buildings.push_back(
            {view * glm::translate(glm::mat4(1.0f), place) * glm::scale(glm::mat4(1.0f), size),
             &zones[b.zone]});
    }
}

static void drawGround() {
    glUniformMatrix4fv(at.P, 1, GL_FALSE, glm::value_ptr(projection));
    glUniformMatrix4fv(at.MV, 1, GL_FALSE, glm::value_ptr(view));
    glUniform3fv(at.lightPos, 1, glm::value_ptr(LIGHT_POSITION));
    glUniformMatrix3fv(at.texMat, 1, GL_TRUE, glm::value_ptr(groundTexMat));
    glUniform3fv(at.ka, 1, glm::value_ptr(NO_LIGHT_RESPONSE));
    glUniform3fv(at.kd, 1, glm::value_ptr(NO_LIGHT_RESPONSE));
    glUniform3fv(at.ks, 1, glm::value_ptr(NO_LIGHT_RESPONSE));
    glUniform1f(at.s, 0.0f);
    bindFloatAttribute(at.position, ground.positions, 3);
    bindFloatAttribute(at.normal, ground.normals, 3);
    bindFloatAttribute(at.texCoords, groundTexCoords, 2);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ground.indices);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, groundTexture);
    glUniform1i(at.texture, 0);
    glUniformMatrix4fv(at.MV, 1, GL_FALSE, glm::value_ptr(groundMV));
    glDrawElements(GL_TRIANGLES, ground.count, GL_UNSIGNED_INT, nullptr);
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisableVertexAttribArray(at.texCoords);
    glDisableVertexAttribArray(at.position);
    glDisableVertexAttribArray(at.normal);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

static void drawBuildings() {
    glUniform1f(at.s, BUILDING_SHININESS);
    for (const PlacedBuilding& building : buildings) {
        const Zone& zone = *building.zone;
        glUniform3fv(at.ka, 1, glm::value_ptr(zone.material.ka));
        glUniform3fv(at.kd, 1, glm::value_ptr(zone.material.kd));
        glUniform3fv(at.ks, 1, glm::value_ptr(zone.material.ks));
        glUniformMatrix4fv(at.MV, 1, GL_FALSE, glm::value_ptr(building.MV));
        bindFloatAttribute(at.position, zone.mesh.positions, 3);
        bindFloatAttribute(at.normal, zone.mesh.normals, 3);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, zone.mesh.indices);
        glDrawElements(GL_TRIANGLES, zone.mesh.count, GL_UNSIGNED_INT, nullptr);
        glDisableVertexAttribArray(at.normal);
        glDisableVertexAttribArray(at.position);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    }
}

static void drawFloorFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_CULL_FACE);
    setOutlined(false);
    glUseProgram(program);
    drawGround();
    drawBuildings();
    glUseProgram(0);
}

int main(int argc, char** argv) {
    openBenchWindow(&argc, argv, "floor frame");
    if (argc != 2) {
        fprintf(stderr, "usage: %s LIVE\n", argv[0]);
        return 2;
    }
    double setupStart = secondsSinceLaunch();
    glClearColor(0.8f, 0.95f, 1.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    buildProgram();
    buildZones();
    buildGround();
    placeCity(atoi(argv[1]));
    reportValue("setup_s", secondsSinceLaunch() - setupStart);
    serveFrames(drawFloorFrame);
    return 0;
}
