#include "render/MatrixStack.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <glm/gtc/constants.hpp>
#include <string>

namespace {

void expectMaps(const MatrixStack& stack, glm::vec3 point, glm::vec3 expected) {
    const glm::vec4 mapped = stack.topMatrix() * glm::vec4(point, 1.0f);
    EXPECT_NEAR(glm::distance(glm::vec3(mapped), expected), 0.0f, 1e-5f);
}

std::string printedBy(const std::function<void()>& print) {
    testing::internal::CaptureStdout();
    print();
    return testing::internal::GetCapturedStdout();
}

}  // namespace

TEST(MatrixStack, TransformsPostMultiplySoTheLastOneActsFirst) {
    MatrixStack stack;
    stack.scale(glm::vec3(2.0f, 3.0f, 4.0f));
    stack.translate(glm::vec3(1.0f, 2.0f, 3.0f));
    expectMaps(stack, {1, 1, 1}, {4, 9, 16});
    // A quarter turn about a long +z axis takes +x to +y.
    stack.rotate(glm::half_pi<float>(), glm::vec3(0.0f, 0.0f, 5.0f));
    stack.scale(0.5f);
    expectMaps(stack, {2, 0, 0}, {2, 9, 12});
}

TEST(MatrixStack, PerspectiveReplacesTheTopWithItsProjection) {
    const float fovy = 0.9f, aspect = 1.5f, n = 0.5f, f = 80.0f, t = std::tan(fovy / 2.0f);
    MatrixStack stack;
    stack.rotate(0.4f, glm::vec3(1.0f, 1.0f, 0.0f));  // a top to be discarded
    stack.perspective(fovy, aspect, n, f);
    const glm::mat4& p = stack.topMatrix();
    EXPECT_NEAR(p[0][0], 1.0f / (aspect * t), 1e-5f);
    EXPECT_NEAR(p[1][1], 1.0f / t, 1e-5f);
    EXPECT_NEAR(p[2][2], -(f + n) / (f - n), 1e-5f);
    EXPECT_EQ(p[2][3], -1.0f);
    EXPECT_NEAR(p[3][2], -(2.0f * f * n) / (f - n), 1e-5f);
}

TEST(MatrixStack, PrintShowsRowsWithASignColumnAndPrintStackGoesFromTheTopDown) {
    glm::mat4 m(1.0f);
    m[1][0] = -123.456f;
    m[3][0] = 12.5f;
    m[3][1] = -0.001f;
    m[0][2] = 0.5f;
    const std::string layout =
        " 1.00 -123.46  0.00  12.50 \n"
        " 0.00  1.00  0.00 -0.00 \n"
        " 0.50  0.00  1.00  0.00 \n"
        " 0.00  0.00  0.00  1.00 \n"
        "\n";
    MatrixStack stack;
    stack.multMatrix(m);
    EXPECT_EQ(printedBy([&] { stack.print(); }), layout);
    stack.pushMatrix();
    EXPECT_EQ(printedBy([&] { stack.print(); }), layout);
    stack.loadIdentity();
    const std::string identity = printedBy([&] { stack.print(glm::mat4(1.0f)); });
    EXPECT_EQ(printedBy([&] { stack.printStack(); }), identity + layout);
    stack.popMatrix();
    EXPECT_EQ(printedBy([&] { stack.print(); }), layout);
}

TEST(MatrixStackDeathTest, HundredthEntryLastPopAndDegeneratePerspectiveStop) {
    MatrixStack stack;
    for (int push = 0; push < 98; ++push) {
        stack.pushMatrix();
    }
    EXPECT_DEATH(stack.pushMatrix(), "mstack.size\\(\\) < 100");
    EXPECT_DEATH(MatrixStack().popMatrix(), "!mstack.empty\\(\\)");
    EXPECT_DEATH(stack.perspective(0.5f, 0.0f, 0.1f, 100.0f), "aspect != static_cast<T>\\(0\\)");
    EXPECT_DEATH(stack.perspective(0.5f, 1.0f, 10.0f, 10.0f), "zFar != zNear");
}
