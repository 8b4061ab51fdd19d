#include "app/Callbacks.h"

#include "app/Globals.h"
#include "app/Glut.h"
#include "app/Pacing.h"
#include "app/PointerTrack.h"
#include "app/ProcessEnd.h"
#include "render/Frame.h"

static const unsigned char KEY_ESCAPE = 27;

static PointerTrack pointerTrack;

void reshapeGL(int width, int height) {
    glViewport(0, 0, width, height);
    camera.setWindowSize(static_cast<float>(width), static_cast<float>(height));
}

void idleGL() {
    int now = glutGet(GLUT_ELAPSED_TIME);
    if (tickDue(now, time0)) {
        time0 = now;
        camera.update(keyDown, mouse);
        glutPostRedisplay();
    }
}

void keyboardGL(unsigned char key, int, int) {
    keyDown[key] = true;
    switch (key) {
        case KEY_ESCAPE:
            endProcess(0);
        case 'c':
            cull = !cull;
            break;
        case 'l':
            line = !line;
            break;
        default:
            break;
    }
}

void keyboardUpGL(unsigned char key, int, int) {
    keyDown[key] = false;
}

// mouse follows the pointer's movement inside the window, not its position: coming in at
// any edge leaves the view where it was.
void entryGL(int) {
    pointerTrack.lose();
}

void passiveMotionGL(int x, int y) {
    pointerTrack.report(glm::vec2(static_cast<float>(x), static_cast<float>(y)), &mouse);
}

void drawGL() {
    renderFrame();
    glutSwapBuffers();
}
