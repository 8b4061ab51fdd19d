// The web's frame loop for the benchmark pages. A browser shows what a canvas drew when the
// animation-frame callback that drew it returns, so a page cannot draw frames in a loop of
// its own: GLUT's display callback, run from requestAnimationFrame as the city's own frames
// are, draws one frame and asks for the next. The time from one callback's start to the
// next is the time between shown frames, the desktop's time between swaps.
#include <GL/glut.h>
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstdio>

#include "tools/bench/BenchLoop.h"

glm::vec2 benchWindowSize() {
    double width = 0.0;
    double height = 0.0;
    emscripten_get_element_css_size("#canvas", &width, &height);
    const double scale = emscripten_get_device_pixel_ratio();
    return glm::round(glm::vec2(width * scale, height * scale));
}

static void (*drawOne)() = nullptr;
static double lastStart = -1.0;

static void displayFrame() {
    const double start = emscripten_get_now();
    drawOne();
    glutSwapBuffers();
    if (lastStart < 0.0) {
        printf("ready\n");
    } else {
        reportValue("interval_ms", start - lastStart);
        // The GL calls' cost on the main thread; the browser renders them elsewhere.
        reportValue("draw_ms", emscripten_get_now() - start);
    }
    fflush(stdout);
    lastStart = start;
    glutPostRedisplay();
}

void serveFrames(void (*draw)()) {
    drawOne = draw;
    glutDisplayFunc(displayFrame);
    glutMainLoop();
}
