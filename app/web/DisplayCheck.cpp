// The web: the page checks for WebGL and a worker's shared memory before the program starts,
// and says what is missing in words (app/web/page.js); there is no display to open.
#include "app/DisplayCheck.h"

bool checkDisplay(int, char**) {
    return true;
}

void releaseDisplay() {}
