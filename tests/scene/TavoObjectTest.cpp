#include "scene/TavoObject.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

TEST(TavoObject, ModelPathOf127CharactersIsKeptAndALongerOneRefused) {
    const std::string root = mkdtemp(std::string("/tmp/tavo.XXXXXX").data()) + std::string("/");
    for (size_t length : {127, 128}) {
        const std::string path = root + std::string(length - root.size() - 4, 'b') + ".obj";
        std::ofstream(path) << "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
        TavoObject zone;
        strcpy(zone.modelPath, "untouched");
        zone.load(path.c_str());
        EXPECT_EQ(zone.modelPath, length < 128 ? path : "untouched");
        EXPECT_EQ(zone.shape.empty(), length == 128) << length;
    }
    std::filesystem::remove_all(root);
}
