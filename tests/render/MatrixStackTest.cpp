#include "render/MatrixStack.h"

#include <gtest/gtest.h>

// The frame tests show the transforms at work; here, the program stops on programming errors.
TEST(MatrixStackDeathTest, MisuseStopsTheProgram) {
    MatrixStack stack;
    for (int push = 0; push < 98; ++push) {
        stack.pushMatrix();
    }
    EXPECT_DEATH(stack.pushMatrix(), "");
    EXPECT_DEATH(MatrixStack().popMatrix(), "");
    EXPECT_DEATH(stack.perspective(0.5f, 0.0f, 0.1f, 100.0f), "");
    EXPECT_DEATH(stack.perspective(0.5f, 1.0f, 10.0f, 10.0f), "");
}
