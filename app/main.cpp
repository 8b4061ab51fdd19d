// Process entry: the window, the callbacks, the scene and GL set-up, the grid lock and the
// generation worker, then the GLUT main loop for the rest of the process's life.
#include <pthread.h>

#include <cstdlib>
#include <string>

#include "app/Callbacks.h"
#include "app/DisplayCheck.h"
#include "app/Globals.h"
#include "app/Glut.h"
#include "app/StartupFailure.h"
#include "render/Setup.h"
#include "scene/Scene.h"
#include "sim/Worker.h"

static void* determineNextState(void*) {
    runWorker(cells, stateMutex, cityZones());
}

int main(int argc, char** argv) {
    openDiagnostics();
    if (!checkDisplay(argc, argv)) {
        return 1;
    }
    glutInit(&argc, argv);
    glutInitWindowSize(1280, 720);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_MULTISAMPLE);
    glutCreateWindow("Varnock | Hollenby");
    releaseDisplay();

    glutPassiveMotionFunc(passiveMotionGL);
    glutEntryFunc(entryGL);
    glutKeyboardFunc(keyboardGL);
    glutKeyboardUpFunc(keyboardUpGL);
    glutReshapeFunc(reshapeGL);
    glutDisplayFunc(drawGL);
    glutIdleFunc(idleGL);

    loadScene();
    initGL();

    const std::string failure = startWorker(stateMutex, determineNextState);
    if (!failure.empty()) {
        failStartup(stderr, (failure + "; exiting.").c_str());
    }

    glutMainLoop();
    // The worker still takes the lock for every pass, so the mutex must outlive it.
    exit(0);
}
