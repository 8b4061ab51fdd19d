// A small window that no main loop shows gives the tests a context; they run in the data dir.
#include <GL/freeglut.h>
#include <gtest/gtest.h>
#include <unistd.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (!testing::GTEST_FLAG(list_tests)) {  // test discovery has no display
        glutInit(&argc, argv);
        glutInitWindowSize(256, 256);
        glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
        glutCreateWindow("gl_tests");
    }
    return chdir(DATA_DIR) == 0 ? RUN_ALL_TESTS() : 1;
}
