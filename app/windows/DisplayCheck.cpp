// Windows: the desktop is always there for a program started in a session; nothing to check.
#include "app/DisplayCheck.h"

bool checkDisplay(int, char**) {
    return true;
}

void releaseDisplay() {}
