#include "app/Globals.h"

bool keyDown[256];
int time0;
bool cull;
bool line;
pthread_mutex_t stateMutex;

// Defined, and so constructed, in this order.
glm::vec2 mouse(0.0f, 0.0f);
Camera camera;
glm::vec3 lightPos(0.0f, 0.0f, 0.0f);
std::vector<float> positionBuf;
std::vector<float> normalBuf;
std::vector<float> terrainTexCoordsBuf;
std::vector<unsigned int> indexBuf;
glm::mat4 planeMat(1.0f);
TavoObject residential;
TavoObject commercial;
TavoObject industrial;
CellGrid cells;
glm::mat3 terrainTexMat(1.0f);

GLuint pid;
GLint h_vertexPosition;
GLint h_vertexNormal;
GLint h_terrainVertTexCoords;
GLint h_P;
GLint h_MV;
GLint h_terrainTexMat;
GLint h_lightPos;
GLint h_terrainTexture;
GLint h_ka;
GLint h_kd;
GLint h_ks;
GLint h_s;
GLuint terrainTexID;
GLuint positionBufID;
GLuint normalBufID;
GLuint terrainTexCoordsBufID;
GLuint indexBufID;
GLuint terrainEdgeBufID;

Zones cityZones() {
    return Zones{&residential, &commercial, &industrial};
}
