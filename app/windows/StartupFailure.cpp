// Windows: the program is built without a console, so that the Start menu opens none. Started
// from cmd or PowerShell, it writes into theirs; with its streams sent elsewhere (a file, a
// pipe) it keeps them; with neither, a fatal error is also shown in a message box.
#include "app/StartupFailure.h"

#include <windows.h>

#include <cstdlib>

static bool toTerminal = false;

// A file, a pipe or a console handed down by the caller; a GUI program started from a
// terminal gets none, or one of no type, unless the caller hands its console down.
static DWORD streamType(DWORD which) {
    HANDLE handle = GetStdHandle(which);
    return handle == nullptr || handle == INVALID_HANDLE_VALUE ? FILE_TYPE_UNKNOWN
                                                               : GetFileType(handle);
}

void openDiagnostics() {
    const DWORD errorType = streamType(STD_ERROR_HANDLE);
    if (streamType(STD_OUTPUT_HANDLE) != FILE_TYPE_UNKNOWN || errorType != FILE_TYPE_UNKNOWN) {
        toTerminal = errorType == FILE_TYPE_CHAR;
    } else if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        std::freopen("CONOUT$", "w", stdout);
        std::freopen("CONOUT$", "w", stderr);
        toTerminal = true;
    }
    // Windows' C library buffers a line-buffered stream fully: unbuffered, each line shows
    // when printed, and none is lost to an exit that skips the flush.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::setvbuf(stderr, nullptr, _IONBF, 0);
}

void failStartup(std::FILE* stream, const char* message) {
    if (stream != nullptr) {
        std::fprintf(stream, "%s\n", message);
    }
    if (!toTerminal) {
        MessageBoxA(nullptr, message, "Varnock | Hollenby", MB_OK | MB_ICONERROR);
    }
    std::exit(1);
}
