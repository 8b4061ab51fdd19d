// What the page (app/web/page.js) hands the program besides GLUT's own events: its on-screen
// buttons, as the keys they stand for, and the canvas's new size as the window's reshape.
#include <emscripten.h>

#include "app/Callbacks.h"
#include "app/Glut.h"

extern "C" {

EMSCRIPTEN_KEEPALIVE void pressKey(int key, int down) {
    if (down) {
        keyboardGL(static_cast<unsigned char>(key), 0, 0);
    } else {
        keyboardUpGL(static_cast<unsigned char>(key), 0, 0);
    }
}

EMSCRIPTEN_KEEPALIVE void resizeView(int width, int height) {
    glutReshapeWindow(width, height);
}
}
