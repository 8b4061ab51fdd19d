// The colours of the three zones' buildings; the zones differ in nothing else.
#pragma once

#include <glm/glm.hpp>

struct Material {
    glm::vec3 ka;
    glm::vec3 kd;
    glm::vec3 ks;
};

const Material RESIDENTIAL_MATERIAL = {
    {0.34f, 0.29f, 0.18f}, {0.4f, 0.3f, 0.2f}, {0.4f, 0.4f, 0.4f}};
const Material COMMERCIAL_MATERIAL = {
    {0.54f, 0.41f, 0.12f}, {0.6f, 0.5f, 0.2f}, {0.6f, 0.6f, 0.6f}};
const Material INDUSTRIAL_MATERIAL = {
    {0.14f, 0.11f, 0.09f}, {0.2f, 0.2f, 0.1f}, {0.2f, 0.2f, 0.2f}};
