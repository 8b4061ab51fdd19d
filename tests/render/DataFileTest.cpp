// Each kind of path that is no usable data file, as POSIX systems make them. Run without
// the capabilities that let root pass any permission.
#include "render/DataFile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

TEST(DataFileAsUser, OpensOnlyRegularFilesWithinTheLimit) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("data_file_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir / "folder");
    std::ofstream(dir / "ten") << "0123456789";
    ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0600), 0);
    ASSERT_EQ(close(creat((dir / "unreadable").c_str(), 0)), 0);
    const struct {
        std::string path;
        long long limit;
        std::string said;  // empty when opened
    } cases[] = {{dir / "ten", 10, ""},
                 {dir / "ten", 9, "10 bytes, over the limit of 9"},
                 {dir / "folder", 100, "a directory, not a regular file"},
                 {dir / "pipe", 100, "a named pipe, not a regular file"},
                 {"/dev/null", 100, "a character device, not a regular file"},
                 {dir / "unreadable", 100, strerror(EACCES)}};
    alarm(10);  // an open that blocks ends the test rather than hanging it
    for (const auto& c : cases) {
        const DataFile data = openDataFile(c.path.c_str(), "rb", c.limit);
        EXPECT_EQ(data.refusal, c.said) << c.path;
        EXPECT_EQ(data.file != nullptr, c.said.empty()) << c.path;
        if (data.file != nullptr) {
            fclose(data.file);
        }
    }
    alarm(0);
    std::filesystem::remove_all(dir);
}
