// What only POSIX systems make: a named pipe, which must not block its reader, a device,
// and a file that its owner may not read.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "render/DataFile.h"

static std::string scratchPath(const char* name) {
    return "/tmp/" + std::string(name) + "_" + std::to_string(getpid());
}

TEST(DataFilePosix, ANamedPipeOrADeviceIsRefusedWithoutWaitingForAWriter) {
    const std::string pipe = scratchPath("data_file_pipe");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const struct {
        std::string path;
        const char* said;
    } cases[] = {{pipe, "a named pipe, not a regular file"},
                 {"/dev/null", "a character device, not a regular file"}};
    alarm(10);  // an open that blocks ends the test rather than hanging it
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const DataFile data = openDataFile(c.path.c_str(), "rb", 100);
        EXPECT_EQ(data.file, nullptr);
        EXPECT_EQ(data.refusal, c.said);
    }
    alarm(0);
    unlink(pipe.c_str());
}

// Run by a user other than root, whom no permission stops.
TEST(DataFileAsUser, AFileThatCannotBeReadIsRefusedWithTheSystemsReason) {
    const std::string path = scratchPath("data_file_unreadable");
    ASSERT_EQ(close(creat(path.c_str(), 0)), 0);
    const DataFile data = openDataFile(path.c_str(), "rb", 100);
    EXPECT_EQ(data.file, nullptr);
    EXPECT_EQ(data.refusal, strerror(EACCES));
    EXPECT_FALSE(data.missing);
    unlink(path.c_str());
}
