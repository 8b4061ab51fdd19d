#include "render/DataFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

TEST(DataFile, OnlyARegularFileWithinItsLimitIsOpenedAndEachRefusalSaysWhy) {
    const fs::path dir = fs::temp_directory_path() / ("data_file_" + std::to_string(getpid()));
    fs::create_directories(dir / "folder");
    std::ofstream(dir / "ten") << "0123456789";
    const struct {
        const char* name;
        fs::path path;
        long long limit;
        std::string said;  // empty when opened
        bool missing;
    } cases[] = {{"at its limit", dir / "ten", 10, "", false},
                 {"over its limit", dir / "ten", 9, "10 bytes, over the limit of 9", false},
                 {"a directory", dir / "folder", 100, "a directory, not a regular file", false},
                 {"missing", dir / "none", 100, strerror(ENOENT), true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DataFile data = openDataFile(c.path.string().c_str(), "rb", c.limit);
        EXPECT_EQ(data.file != nullptr, c.said.empty());
        EXPECT_EQ(data.refusal, c.said);
        EXPECT_EQ(data.missing, c.missing);
        if (data.file != nullptr) {
            fclose(data.file);
        }
    }
    fs::remove_all(dir);
}
