#include "scene/TavoObject.h"

#include <cstring>
#include <glm/gtc/type_ptr.hpp>
#include <iostream>

#include "render/MatrixStack.h"

TavoObject::TavoObject() : ka(0.0f), kd(0.0f), ks(0.0f) {}

TavoObject::~TavoObject() {}

void TavoObject::load(const char* path) {
    if (strlen(path) >= MODEL_PATH_CAPACITY) {
        std::cerr << "Model path is longer than " << MODEL_PATH_CAPACITY - 1
                  << " characters, not loaded: " << path << std::endl;
        return;
    }
    strcpy(modelPath, path);
    shape.load(std::string(modelPath));
}

void TavoObject::init(glm::vec3 ka, glm::vec3 kd, glm::vec3 ks) {
    shape.init();
    this->ka = ka;
    this->kd = kd;
    this->ks = ks;
}

void TavoObject::draw(GLint h_MV, GLint h_pos, GLint h_nor, GLint h_ka, GLint h_kd, GLint h_ks,
                      MatrixStack* MV) const {
    glUniform3fv(h_ka, 1, glm::value_ptr(ka));
    glUniform3fv(h_kd, 1, glm::value_ptr(kd));
    glUniform3fv(h_ks, 1, glm::value_ptr(ks));
    MV->pushMatrix();
    glUniformMatrix4fv(h_MV, 1, GL_FALSE, glm::value_ptr(MV->topMatrix()));
    shape.draw(h_pos, h_nor, -1);
    MV->popMatrix();
}
