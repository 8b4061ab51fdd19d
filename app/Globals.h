// The program's state: plain globals, shared by the callbacks, the scene loading, the GL
// set-up and the frame. After start-up, cells is touched only under stateMutex.
#pragma once

#include <pthread.h>

#include <glm/glm.hpp>
#include <vector>

#include "render/Camera.h"
#include "render/GLSL.h"
#include "scene/TavoObject.h"
#include "sim/Cell.h"

extern bool keyDown[256];
extern int time0;
extern bool cull;
extern bool line;
extern pthread_mutex_t stateMutex;

// Moved by each pointer step inside the window, not set to the pointer's position.
extern glm::vec2 mouse;
extern Camera camera;
extern glm::vec3 lightPos;
extern std::vector<float> positionBuf;
extern std::vector<float> normalBuf;
extern std::vector<float> terrainTexCoordsBuf;
extern std::vector<unsigned int> indexBuf;
extern glm::mat4 planeMat;
extern TavoObject residential;
extern TavoObject commercial;
extern TavoObject industrial;
extern CellGrid cells;
extern glm::mat3 terrainTexMat;

extern GLuint pid;
extern GLint h_vertexPosition;
extern GLint h_vertexNormal;
extern GLint h_terrainVertTexCoords;
extern GLint h_P;
extern GLint h_MV;
extern GLint h_terrainTexMat;
extern GLint h_lightPos;
extern GLint h_terrainTexture;
extern GLint h_ka;
extern GLint h_kd;
extern GLint h_ks;
extern GLint h_s;
extern GLuint terrainTexID;
extern GLuint positionBufID;
extern GLuint normalBufID;
extern GLuint terrainTexCoordsBufID;
extern GLuint indexBufID;
extern GLuint terrainEdgeBufID;  // where outlines need one

// The three zone objects, as the simulation stores them in cells.
Zones cityZones();
