// Opens one of the program's data files for reading only when it is a regular file within
// its size limit, so that a named pipe or a device never blocks the program and a huge
// file is never read. Prints nothing: a refusal says why, for the caller to print beside
// the file's name.
#pragma once

#include <cstdio>
#include <string>

struct DataFile {
    FILE* file;           // open for reading, or null when refused; the caller closes it
    bool missing;         // refused because nothing is at the path
    std::string refusal;  // why not, such as "a directory, not a regular file"
};

DataFile openDataFile(const char* path, const char* mode, long long limit);
