#include "render/Frame.h"

#include <glm/gtc/type_ptr.hpp>

#include "app/Globals.h"
#include "render/GLDialect.h"
#include "render/MatrixStack.h"
#include "render/VertexAttribute.h"
#include "sim/Generation.h"

static const glm::vec3 NO_LIGHT_RESPONSE(0.0f);
static const float BUILDING_SHININESS = 300.0f;
static const int LATTICE_STEP = 3;
static const int LATTICE_ORIGIN = -450;

static void applyToggles() {
    if (cull) {
        glEnable(GL_CULL_FACE);
    } else {
        glDisable(GL_CULL_FACE);
    }
    setOutlined(line);
}

static void drawTerrain(const MatrixStack& P, MatrixStack& MV) {
    glUniformMatrix4fv(h_P, 1, GL_FALSE, glm::value_ptr(P.topMatrix()));
    glUniformMatrix4fv(h_MV, 1, GL_FALSE, glm::value_ptr(MV.topMatrix()));
    glUniform3fv(h_lightPos, 1, glm::value_ptr(lightPos));
    glUniformMatrix3fv(h_terrainTexMat, 1, GL_TRUE, glm::value_ptr(terrainTexMat));
    glUniform3fv(h_ka, 1, glm::value_ptr(NO_LIGHT_RESPONSE));
    glUniform3fv(h_kd, 1, glm::value_ptr(NO_LIGHT_RESPONSE));
    glUniform3fv(h_ks, 1, glm::value_ptr(NO_LIGHT_RESPONSE));
    glUniform1f(h_s, 0.0f);

    bindFloatAttribute(h_vertexPosition, positionBufID, 3);
    bindFloatAttribute(h_vertexNormal, normalBufID, 3);
    bindFloatAttribute(h_terrainVertTexCoords, terrainTexCoordsBufID, 2);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, terrainTexID);
    glUniform1i(h_terrainTexture, 0);

    MV.pushMatrix();
    MV.multMatrix(planeMat);
    glUniformMatrix4fv(h_MV, 1, GL_FALSE, glm::value_ptr(MV.topMatrix()));
    drawTriangles(indexBufID, terrainEdgeBufID, static_cast<GLsizei>(indexBuf.size()));
    MV.popMatrix();

    glBindTexture(GL_TEXTURE_2D, 0);
    GLSL::disableVertexAttribArray(h_terrainVertTexCoords);
    GLSL::disableVertexAttribArray(h_vertexPosition);
    GLSL::disableVertexAttribArray(h_vertexNormal);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

static void drawBuilding(int row, int col, const Cell& cell, MatrixStack& MV) {
    MV.pushMatrix();
    MV.translate(glm::vec3(static_cast<float>(LATTICE_STEP * row + LATTICE_ORIGIN), 0.5f,
                           static_cast<float>(LATTICE_STEP * col + LATTICE_ORIGIN)));
    MV.scale(glm::vec3(cell.footprint, cell.height, cell.footprint));
    cell.zone->draw(h_MV, h_vertexPosition, h_vertexNormal, h_ka, h_kd, h_ks, &MV);
    MV.popMatrix();
}

// The lock covers the whole cell pass, draws and commit alike, so a frame sees a
// generation either wholly before or wholly after a worker pass.
static void drawCityAndCommit(MatrixStack& MV) {
    glUniform1f(h_s, BUILDING_SHININESS);
    pthread_mutex_lock(&stateMutex);
    drawAndCommit(cells,
                  [&MV](int row, int col, const Cell& cell) { drawBuilding(row, col, cell, MV); });
    pthread_mutex_unlock(&stateMutex);
}

void renderFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    applyToggles();

    MatrixStack P;
    MatrixStack MV;
    P.pushMatrix();
    camera.applyProjectionMatrix(&P);
    MV.pushMatrix();
    camera.applyViewMatrix(&MV);

    glUseProgram(pid);
    drawTerrain(P, MV);
    drawCityAndCommit(MV);
    glUseProgram(0);
    MV.popMatrix();
    P.popMatrix();
}
