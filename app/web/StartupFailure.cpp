// The web: both streams reach the page line by line (app/web/page.js shows a failure's lines
// in words under the canvas), so nothing is buffered and no box is needed.
#include "app/StartupFailure.h"

#include "app/ProcessEnd.h"

void openDiagnostics() {}

void failStartup(std::FILE* stream, const char* message) {
    if (stream != nullptr) {
        std::fprintf(stream, "%s\n", message);
    }
    endProcess(1);
}
