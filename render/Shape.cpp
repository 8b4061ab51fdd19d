#include "render/Shape.h"

#include "render/DataFile.h"
#include "render/GLDialect.h"
#include "render/StaticBuffer.h"
#include "render/VertexAttribute.h"

#include <cassert>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <new>
#include <sstream>

Shape::Shape() : posBufID(0), norBufID(0), texBufID(0), indBufID(0), edgeBufID(0) {}

Shape::~Shape() {}

// A real building model takes a few megabytes at most.
static const long long MODEL_FILE_LIMIT = 64LL << 20;

// The whole file, read through the data-file check so that the OBJ reader never meets a
// pipe or a file without end. False after a line that names the file and says why.
static bool readModelFile(const std::string& path, std::string& text) {
    const DataFile data = openDataFile(path.c_str(), "rb", MODEL_FILE_LIMIT);
    std::string refusal = data.refusal;
    if (data.file != nullptr) {
        // Bounded again while read: a file may grow, and some report no size at all.
        char block[1 << 16];
        size_t got = 0;
        while (text.size() <= MODEL_FILE_LIMIT &&
               (got = fread(block, 1, sizeof block, data.file)) > 0) {
            text.append(block, got);
        }
        refusal = ferror(data.file)                ? strerror(errno)
                  : text.size() > MODEL_FILE_LIMIT ? "it grew past the limit while read"
                                                   : "";
        fclose(data.file);
    }
    if (!refusal.empty()) {
        std::cerr << path << ": not read, " << refusal << std::endl;
    }
    return refusal.empty();
}

static void readModel(const std::string& path, tinyobj::attrib_t& attrib,
                      std::vector<tinyobj::shape_t>& shapes) {
    std::string text;
    if (!readModelFile(path, text)) {
        return;
    }
    std::istringstream stream(text);
    tinyobj::MaterialFileReader materialReader("");  // material files as named, from here
    std::vector<tinyobj::material_t> materials;
    std::string warn;
    std::string err;
    tinyobj::LoadObj(&attrib, &shapes, &materials, &warn, &err, &stream, &materialReader);
    if (!err.empty()) {
        std::cerr << err << std::endl;
    }
}

void Shape::load(const std::string& path) {
    // Out of memory leaves the shape empty, as an unreadable file does: no buildings of it.
    try {
        tinyobj::attrib_t attrib;
        readModel(path, attrib, shapes);
        if (!shapes.empty()) {
            mesh = buildMeshArrays(attrib, shapes[0]);
        }
    } catch (const std::bad_alloc&) {
        std::vector<tinyobj::shape_t>().swap(shapes);
        mesh = MeshArrays();
        std::cerr << path << ": not enough memory to read it" << std::endl;
        return;
    }
    if (mesh.positions.empty() || mesh.indices.empty()) {
        // Nothing to draw: an empty shape makes init and draw do nothing.
        mesh = MeshArrays();
        std::cerr << path << ": no triangle to draw in its first shape" << std::endl;
        return;
    }
    normalizeToUnitBox(mesh.positions);
}

void Shape::init() {
    if (empty()) {
        return;
    }
    posBufID = createStaticBuffer(GL_ARRAY_BUFFER, mesh.positions);
    norBufID = mesh.normals.empty() ? 0 : createStaticBuffer(GL_ARRAY_BUFFER, mesh.normals);
    texBufID = mesh.texcoords.empty() ? 0 : createStaticBuffer(GL_ARRAY_BUFFER, mesh.texcoords);
    indBufID = createStaticBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.indices);
    edgeBufID = createEdgeBuffer(mesh.indices);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    assert(glGetError() == GL_NO_ERROR);
}

void Shape::draw(GLint h_pos, GLint h_nor, GLint h_tex) const {
    if (empty()) {
        return;
    }
    bool withNormals = norBufID != 0 && h_nor >= 0;
    bool withTexcoords = texBufID != 0 && h_tex >= 0;
    bindFloatAttribute(h_pos, posBufID, 3);
    if (withNormals) {
        bindFloatAttribute(h_nor, norBufID, 3);
    }
    if (withTexcoords) {
        bindFloatAttribute(h_tex, texBufID, 2);
    }
    GLsizei count = static_cast<GLsizei>(mesh.indices.size());
    drawTriangles(indBufID, edgeBufID, count);
    if (withTexcoords) {
        GLSL::disableVertexAttribArray(h_tex);
    }
    if (withNormals) {
        GLSL::disableVertexAttribArray(h_nor);
    }
    GLSL::disableVertexAttribArray(h_pos);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}
