// Linux: a terminal, a desktop session's log or a pipe receives the program's two streams.
#include "app/StartupFailure.h"

#include <cstdlib>

void openDiagnostics() {
    // Each diagnostic reaches a pipe, a log file or a journal as it is printed.
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
}

void failStartup(std::FILE* stream, const char* message) {
    if (stream != nullptr) {
        std::fprintf(stream, "%s\n", message);
    }
    std::exit(1);
}
