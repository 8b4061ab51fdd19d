// Feeds arbitrary text through the OBJ reader's stream overload, then through the conversion
// to the first shape's arrays and the unit-box normalisation, as a model file takes them.
// The reader is compiled in here so that the fuzzer sees its branches too.
#define TINYOBJLOADER_IMPLEMENTATION
#include <cassert>
#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>

#include "render/MeshArrays.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream text(std::string(reinterpret_cast<const char*>(data), size));
    tinyobj::attrib_t attrib;
    std::vector<tinyobj::shape_t> shapes;
    std::vector<tinyobj::material_t> materials;
    std::string warn, err;
    tinyobj::LoadObj(&attrib, &shapes, &materials, &warn, &err, &text);
    if (shapes.empty()) {
        return 0;
    }
    MeshArrays mesh = buildMeshArrays(attrib, shapes[0]);
    const size_t vertices = mesh.positions.size() / 3;
    assert(mesh.positions.size() % 3 == 0 && mesh.indices.size() % 3 == 0);
    assert(mesh.normals.empty() || mesh.normals.size() == 3 * vertices);
    assert(mesh.texcoords.empty() || mesh.texcoords.size() == 2 * vertices);
    for (unsigned int index : mesh.indices) {
        assert(index < vertices);
    }
    // Whatever else the model holds, every finite coordinate is fitted into the unit box.
    const std::vector<float> read = mesh.positions;
    normalizeToUnitBox(mesh.positions);
    for (size_t i = 0; i < read.size(); ++i) {
        assert(!std::isfinite(read[i]) || std::fabs(mesh.positions[i]) <= 0.5f + 1e-5f);
    }
    return 0;
}
