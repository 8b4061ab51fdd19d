#include "render/DataFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

static std::string kindOf(const struct stat& status) {
    if (S_ISDIR(status.st_mode)) {
        return "a directory";
    }
    if (S_ISFIFO(status.st_mode)) {
        return "a named pipe";
    }
    if (S_ISCHR(status.st_mode)) {
        return "a character device";
    }
    return "something else";
}

static DataFile failed(int error) {
    return {nullptr, error == ENOENT, strerror(error)};
}

// Looked at before it is opened: opening a named pipe waits for a writer.
DataFile openDataFile(const char* path, const char* mode, long long limit) {
    struct stat status;
    if (stat(path, &status) != 0) {
        return failed(errno);
    }
    if (!S_ISREG(status.st_mode)) {
        return {nullptr, false, kindOf(status) + ", not a regular file"};
    }
    if (status.st_size > limit) {
        return {
            nullptr, false,
            std::to_string(status.st_size) + " bytes, over the limit of " + std::to_string(limit)};
    }
    FILE* file = fopen(path, mode);
    return file != nullptr ? DataFile{file, false, ""} : failed(errno);
}
