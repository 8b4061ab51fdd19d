// A page's pending timers and animation frames would keep a plain exit from ending the
// program: a forced one stops the GLUT loops, ends the worker and tells the page the status.
#include "app/ProcessEnd.h"

#include <emscripten.h>

void endProcess(int status) {
    emscripten_force_exit(status);
    __builtin_unreachable();
}
