#include "render/MatrixStack.h"

#include <gtest/gtest.h>

#include <glm/gtc/constants.hpp>

static void expectMaps(const MatrixStack& stack, glm::vec3 point, glm::vec3 expected) {
    const glm::vec4 mapped = stack.topMatrix() * glm::vec4(point, 1.0f);
    EXPECT_NEAR(glm::distance(glm::vec3(mapped), expected), 0.0f, 1e-5f);
}

TEST(MatrixStack, TransformsPostMultiplySoTheLastOneActsFirstAndPopRestoresThePushedTop) {
    MatrixStack stack;
    stack.scale(glm::vec3(2.0f, 3.0f, 4.0f));
    stack.translate(glm::vec3(1.0f, 2.0f, 3.0f));
    expectMaps(stack, {1, 1, 1}, {4, 9, 16});
    stack.pushMatrix();
    // A quarter turn about a long +z axis takes +x to +y.
    stack.rotate(glm::half_pi<float>(), glm::vec3(0.0f, 0.0f, 5.0f));
    stack.scale(0.5f);
    expectMaps(stack, {2, 0, 0}, {2, 9, 12});
    stack.popMatrix();
    expectMaps(stack, {1, 1, 1}, {4, 9, 16});
}

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
