// Emscripten's GLUT has no entry callback, and hands the passive-motion callback the
// pointer's previous position, so the step into the canvas would arrive as a turn. These two
// take the canvas's own pointer events instead, with the position each event reports.
#include <emscripten/html5.h>

#include "app/Glut.h"

static const char* const CANVAS = "#canvas";

static void (*entryCallback)(int) = nullptr;
static void (*passiveMotionCallback)(int, int) = nullptr;

static EM_BOOL onCrossing(int eventType, const EmscriptenMouseEvent*, void*) {
    if (entryCallback != nullptr) {
        entryCallback(eventType == EMSCRIPTEN_EVENT_MOUSEENTER ? GLUT_ENTERED : GLUT_LEFT);
    }
    return EM_FALSE;
}

static EM_BOOL onMove(int, const EmscriptenMouseEvent* event, void*) {
    // As on the desktop, motion with a button held is not passive.
    if (passiveMotionCallback != nullptr && event->buttons == 0) {
        passiveMotionCallback(static_cast<int>(event->targetX), static_cast<int>(event->targetY));
    }
    return EM_FALSE;
}

void glutEntryFunc(void (*callback)(int)) {
    entryCallback = callback;
    emscripten_set_mouseenter_callback(CANVAS, nullptr, EM_TRUE, onCrossing);
    emscripten_set_mouseleave_callback(CANVAS, nullptr, EM_TRUE, onCrossing);
}

void glutPassiveMotionFunc(void (*callback)(int, int)) {
    passiveMotionCallback = callback;
    emscripten_set_mousemove_callback(CANVAS, nullptr, EM_TRUE, onMove);
}
