#include "scene/TavoObject.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

TEST(TavoObject, ModelPathOf127CharactersIsKeptAndALongerOneRefused) {
    const std::string root = mkdtemp(std::string("/tmp/tavo.XXXXXX").data()) + std::string("/");
    auto modelAtPathOfLength = [&root](size_t length) {
        std::string path = root + std::string(length - root.size() - 4, 'b') + ".obj";
        std::ofstream(path) << "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
        return path;
    };
    std::string fits = modelAtPathOfLength(127), tooLong = modelAtPathOfLength(128);
    TavoObject kept, refused;
    strcpy(refused.modelPath, "untouched");
    kept.load(fits.c_str());
    refused.load(tooLong.c_str());
    EXPECT_EQ(kept.modelPath, fits);
    EXPECT_FALSE(kept.shape.empty());
    EXPECT_STREQ(refused.modelPath, "untouched");
    EXPECT_TRUE(refused.shape.empty());
    std::filesystem::remove_all(root);
}
