#include "render/MatrixStack.h"

#include <gtest/gtest.h>

// The frame tests show the transforms at work; here, the stack guards programming errors.
TEST(MatrixStackDeathTest, HundredthEntryLastPopAndDegeneratePerspectiveStop) {
    MatrixStack stack;
    for (int push = 0; push < 98; ++push) {
        stack.pushMatrix();
    }
    EXPECT_DEATH(stack.pushMatrix(), "mstack.size\\(\\) < 100");
    EXPECT_DEATH(MatrixStack().popMatrix(), "!mstack.empty\\(\\)");
    EXPECT_DEATH(stack.perspective(0.5f, 0.0f, 0.1f, 100.0f), "aspect");
    EXPECT_DEATH(stack.perspective(0.5f, 1.0f, 10.0f, 10.0f), "zFar != zNear");
}
