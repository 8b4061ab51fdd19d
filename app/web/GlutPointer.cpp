// Emscripten's GLUT has no entry callback, and hands the passive-motion callback the
// pointer's previous position, so the step into the canvas would arrive as a turn. These two
// take the canvas's own pointer events instead, with the position each event reports, in
// CSS pixels whatever the drawing buffer's size. A finger on the canvas is a pointer too: a
// new touch comes in as the pointer entering, and its drag is motion.
#include <emscripten/html5.h>

#include "app/Glut.h"

static const char* const CANVAS = "#canvas";

static void (*entryCallback)(int) = nullptr;
static void (*passiveMotionCallback)(int, int) = nullptr;
static long turningTouch = -1;  // the finger that turns the view, while one is down

static void enter(int state) {
    if (entryCallback != nullptr) {
        entryCallback(state);
    }
}

static void move(long x, long y) {
    if (passiveMotionCallback != nullptr) {
        passiveMotionCallback(static_cast<int>(x), static_cast<int>(y));
    }
}

static EM_BOOL onCrossing(int eventType, const EmscriptenMouseEvent*, void*) {
    enter(eventType == EMSCRIPTEN_EVENT_MOUSEENTER ? GLUT_ENTERED : GLUT_LEFT);
    return EM_FALSE;
}

// As on the desktop, motion with a button held is not passive. While a finger turns the
// view, the mouse events GLUT makes of its touches are not a second pointer.
static EM_BOOL onMove(int, const EmscriptenMouseEvent* event, void*) {
    if (event->buttons == 0 && turningTouch < 0) {
        move(event->targetX, event->targetY);
    }
    return EM_FALSE;
}

// Later fingers on the canvas are ignored until the first lifts. Handled here, a touch
// neither scrolls nor zooms the page.
static EM_BOOL onTouch(int eventType, const EmscriptenTouchEvent* event, void*) {
    for (int i = 0; i < event->numTouches; ++i) {
        const EmscriptenTouchPoint& touch = event->touches[i];
        if (!touch.isChanged) {
            continue;
        }
        if (eventType == EMSCRIPTEN_EVENT_TOUCHSTART && turningTouch < 0 && touch.onTarget) {
            turningTouch = touch.identifier;
            enter(GLUT_ENTERED);
            move(touch.targetX, touch.targetY);
        } else if (touch.identifier == turningTouch) {
            if (eventType == EMSCRIPTEN_EVENT_TOUCHMOVE) {
                move(touch.targetX, touch.targetY);
            } else if (eventType != EMSCRIPTEN_EVENT_TOUCHSTART) {
                turningTouch = -1;
                enter(GLUT_LEFT);
            }
        }
    }
    return EM_TRUE;
}

void glutEntryFunc(void (*callback)(int)) {
    entryCallback = callback;
    emscripten_set_mouseenter_callback(CANVAS, nullptr, EM_TRUE, onCrossing);
    emscripten_set_mouseleave_callback(CANVAS, nullptr, EM_TRUE, onCrossing);
}

void glutPassiveMotionFunc(void (*callback)(int, int)) {
    passiveMotionCallback = callback;
    emscripten_set_mousemove_callback(CANVAS, nullptr, EM_TRUE, onMove);
    emscripten_set_touchstart_callback(CANVAS, nullptr, EM_TRUE, onTouch);
    emscripten_set_touchmove_callback(CANVAS, nullptr, EM_TRUE, onTouch);
    emscripten_set_touchend_callback(CANVAS, nullptr, EM_TRUE, onTouch);
    emscripten_set_touchcancel_callback(CANVAS, nullptr, EM_TRUE, onTouch);
}
