#include "render/Shape.h"

#include "render/StaticBuffer.h"
#include "render/VertexAttribute.h"

#include <cassert>
#include <iostream>

Shape::Shape() : posBufID(0), norBufID(0), texBufID(0), indBufID(0) {}

Shape::~Shape() {}

void Shape::load(const std::string& path) {
    tinyobj::attrib_t attrib;
    std::vector<tinyobj::material_t> materials;
    std::string warn;
    std::string err;
    tinyobj::LoadObj(&attrib, &shapes, &materials, &warn, &err, path.c_str(), nullptr);
    if (!err.empty()) {
        std::cerr << err << std::endl;
    }
    if (!shapes.empty()) {
        mesh = buildMeshArrays(attrib, shapes[0]);
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
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indBufID);
    glDrawElements(GL_TRIANGLES, count, GL_UNSIGNED_INT, nullptr);
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
