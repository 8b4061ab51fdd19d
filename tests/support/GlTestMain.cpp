// Runs the GL tests with a current context: a small double-buffered window that is never
// shown through a main loop. Tests draw into its back buffer and read it back.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Listing the tests (as the build's test discovery does) needs no display.
    if (!testing::GTEST_FLAG(list_tests)) {
        glutInit(&argc, argv);
        glutInitWindowSize(256, 256);
        glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
        glutCreateWindow("gl_tests");
    }
    return RUN_ALL_TESTS();
}
