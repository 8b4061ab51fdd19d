// Times the two costly loops of the program on this machine's GL: a generation pass over
// the whole grid and a full frame of the seeded city. Run from the data directory:
//   cd data && ../build/frame_benchmark [FRAMES]
#include <GL/freeglut.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "app/Globals.h"
#include "render/Frame.h"
#include "render/Setup.h"
#include "scene/Scene.h"
#include "sim/Generation.h"

using Clock = std::chrono::steady_clock;

static double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

static int liveCells() {
    int live = 0;
    for (const auto& row : cells) {
        for (const Cell& cell : row) {
            live += cell.state;
        }
    }
    return live;
}

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitWindowSize(1280, 720);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_MULTISAMPLE);
    glutCreateWindow("frame benchmark");
    int frames = argc > 1 ? atoi(argv[1]) : 20;

    loadScene();
    initGL();
    pthread_mutex_init(&stateMutex, nullptr);
    camera.setWindowSize(1280.0f, 720.0f);
    glViewport(0, 0, 1280, 720);

    Clock::time_point start = Clock::now();
    computeNextGeneration(cells, cityZones());
    printf("generation pass: %.2f ms\n", millisecondsSince(start));

    renderFrame();
    glFinish();
    printf("live buildings: %d\n", liveCells());
    start = Clock::now();
    for (int i = 0; i < frames; ++i) {
        renderFrame();
        glutSwapBuffers();
    }
    glFinish();
    printf("frame: %.2f ms (mean of %d)\n", millisecondsSince(start) / frames, frames);
    return 0;
}
