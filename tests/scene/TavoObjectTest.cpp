#include "scene/TavoObject.h"

#include <cstring>

#include "tests/support/GlTestSupport.h"

TEST(TavoObject, ModelPathOf127CharactersIsKeptAndALongerOneRefused) {
    gltest::TempDir dir;
    auto modelAtPathOfLength = [&dir](size_t length) {
        return dir.write(std::string(length - dir.root.size() - 4, 'b') + ".obj",
                         "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
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
}
