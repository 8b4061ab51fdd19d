#include "render/MatrixStack.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <glm/gtc/constants.hpp>
#include <string>

namespace {

void expectMatrixNear(const glm::mat4& actual, const glm::mat4& expected, float tolerance) {
    for (int col = 0; col < 4; ++col) {
        for (int row = 0; row < 4; ++row) {
            EXPECT_NEAR(actual[col][row], expected[col][row], tolerance)
                << "at [" << col << "][" << row << "]";
        }
    }
}

void expectPointMapsTo(const MatrixStack& stack, glm::vec3 point, glm::vec3 expected) {
    const glm::vec4 mapped = stack.topMatrix() * glm::vec4(point, 1.0f);
    EXPECT_NEAR(mapped.x, expected.x, 1e-5f);
    EXPECT_NEAR(mapped.y, expected.y, 1e-5f);
    EXPECT_NEAR(mapped.z, expected.z, 1e-5f);
    EXPECT_NEAR(mapped.w, 1.0f, 1e-6f);
}

// A stack whose top is far from the identity, to show what replaces it and what builds on it.
MatrixStack stackWithTransformedTop() {
    MatrixStack stack;
    stack.translate(glm::vec3(5.0f, -6.0f, 7.0f));
    stack.rotate(0.4f, glm::vec3(1.0f, 1.0f, 0.0f));
    return stack;
}

std::string printedBy(const std::function<void()>& print) {
    testing::internal::CaptureStdout();
    print();
    return testing::internal::GetCapturedStdout();
}

}  // namespace

TEST(MatrixStack, TransformsPostMultiplySoTheLastOneActsFirst) {
    MatrixStack stack;
    stack.translate(glm::vec3(1.0f, 2.0f, 3.0f));
    stack.scale(glm::vec3(2.0f, 3.0f, 4.0f));
    expectPointMapsTo(stack, {1.0f, 1.0f, 1.0f}, {3.0f, 5.0f, 7.0f});

    // Any axis length: a quarter turn about +z takes +x to +y.
    stack.rotate(glm::half_pi<float>(), glm::vec3(0.0f, 0.0f, 5.0f));
    expectPointMapsTo(stack, {1.0f, 0.0f, 0.0f}, {1.0f, 5.0f, 3.0f});

    stack.scale(0.5f);
    expectPointMapsTo(stack, {2.0f, 0.0f, 0.0f}, {1.0f, 5.0f, 3.0f});

    glm::mat4 shear(1.0f);
    shear[1][0] = 1.0f;  // x += y
    stack.multMatrix(shear);
    expectPointMapsTo(stack, {0.0f, 2.0f, 0.0f}, {-1.0f, 5.0f, 3.0f});
}

TEST(MatrixStack, PushTransformPopRestoresTheTopExactly) {
    MatrixStack stack = stackWithTransformedTop();
    const glm::mat4 saved = stack.topMatrix();
    stack.pushMatrix();
    EXPECT_EQ(stack.topMatrix(), saved);
    stack.rotate(1.2f, glm::vec3(0.0f, 1.0f, 0.0f));
    stack.scale(glm::vec3(3.0f, 0.5f, 2.0f));
    stack.loadIdentity();
    EXPECT_EQ(stack.topMatrix(), glm::mat4(1.0f));
    stack.popMatrix();
    EXPECT_EQ(stack.topMatrix(), saved);
}

TEST(MatrixStack, PerspectiveReplacesTheTop) {
    const float fovy = 0.9f, aspect = 1.5f, zNear = 0.5f, zFar = 80.0f;
    const float t = std::tan(fovy / 2.0f);
    glm::mat4 expected(0.0f);
    expected[0][0] = 1.0f / (aspect * t);
    expected[1][1] = 1.0f / t;
    expected[2][2] = -(zFar + zNear) / (zFar - zNear);
    expected[2][3] = -1.0f;
    expected[3][2] = -(2.0f * zFar * zNear) / (zFar - zNear);

    MatrixStack stack = stackWithTransformedTop();
    stack.perspective(fovy, aspect, zNear, zFar);
    expectMatrixNear(stack.topMatrix(), expected, 1e-5f);
}

TEST(MatrixStack, OrthoAndFrustumReplaceTheTop) {
    const float l = -1.0f, r = 2.0f, b = -0.5f, t = 1.5f, n = 1.0f, f = 50.0f;
    glm::mat4 ortho(1.0f);
    ortho[0][0] = 2.0f / (r - l);
    ortho[1][1] = 2.0f / (t - b);
    ortho[2][2] = -2.0f / (f - n);
    ortho[3][0] = -(r + l) / (r - l);
    ortho[3][1] = -(t + b) / (t - b);
    ortho[3][2] = -(f + n) / (f - n);
    glm::mat4 frustum(0.0f);
    frustum[0][0] = 2.0f * n / (r - l);
    frustum[1][1] = 2.0f * n / (t - b);
    frustum[2][0] = (r + l) / (r - l);
    frustum[2][1] = (t + b) / (t - b);
    frustum[2][2] = -(f + n) / (f - n);
    frustum[2][3] = -1.0f;
    frustum[3][2] = -(2.0f * f * n) / (f - n);

    MatrixStack stack = stackWithTransformedTop();
    stack.ortho(l, r, b, t, n, f);
    expectMatrixNear(stack.topMatrix(), ortho, 1e-6f);
    stack = stackWithTransformedTop();
    stack.frustum(l, r, b, t, n, f);
    expectMatrixNear(stack.topMatrix(), frustum, 1e-6f);
}

TEST(MatrixStack, LookAtAndLoadIdentityReplaceTheTop) {
    const glm::vec3 eye(1.0f, 2.0f, 3.0f), center(4.0f, 0.0f, -1.0f), up(0.0f, 1.0f, 0.0f);
    const glm::vec3 f = glm::normalize(center - eye);
    const glm::vec3 s = glm::normalize(glm::cross(f, up));
    const glm::vec3 u = glm::cross(s, f);
    glm::mat4 expected(1.0f);
    for (int col = 0; col < 3; ++col) {
        expected[col][0] = s[col];
        expected[col][1] = u[col];
        expected[col][2] = -f[col];
    }
    expected[3] = glm::vec4(-glm::dot(s, eye), -glm::dot(u, eye), glm::dot(f, eye), 1.0f);

    MatrixStack stack = stackWithTransformedTop();
    stack.lookAt(eye, center, up);
    expectMatrixNear(stack.topMatrix(), expected, 1e-6f);
    stack.loadIdentity();
    EXPECT_EQ(stack.topMatrix(), glm::mat4(1.0f));
}

TEST(MatrixStack, PrintShowsRowsInMathematicalLayoutWithSignColumn) {
    const MatrixStack stack;
    EXPECT_EQ(printedBy([&] { stack.print(); }),
              " 1.00  0.00  0.00  0.00 \n"
              " 0.00  1.00  0.00  0.00 \n"
              " 0.00  0.00  1.00  0.00 \n"
              " 0.00  0.00  0.00  1.00 \n"
              "\n");

    glm::mat4 m(1.0f);
    m[1][0] = -123.456f;
    m[3][0] = 12.5f;
    m[3][1] = -0.001f;
    m[0][2] = 0.5f;
    EXPECT_EQ(printedBy([&] { stack.print(m); }),
              " 1.00 -123.46  0.00  12.50 \n"
              " 0.00  1.00  0.00 -0.00 \n"
              " 0.50  0.00  1.00  0.00 \n"
              " 0.00  0.00  0.00  1.00 \n"
              "\n");
}

TEST(MatrixStack, PrintStackPrintsTopFirstAndLeavesTheStackAsItWas) {
    MatrixStack stack;
    stack.pushMatrix();
    stack.translate(glm::vec3(1.0f, 2.0f, 3.0f));
    const glm::mat4 middle = stack.topMatrix();
    stack.pushMatrix();
    stack.scale(2.0f);
    const glm::mat4 top = stack.topMatrix();

    const std::string expected = printedBy([&] {
        stack.print(top);
        stack.print(middle);
        stack.print(glm::mat4(1.0f));
    });
    EXPECT_EQ(printedBy([&] { stack.printStack(); }), expected);

    EXPECT_EQ(stack.topMatrix(), top);
    stack.popMatrix();
    EXPECT_EQ(stack.topMatrix(), middle);
    stack.popMatrix();
    EXPECT_EQ(stack.topMatrix(), glm::mat4(1.0f));
}

TEST(MatrixStackDeathTest, PushBeyondNinetyNineEntriesStops) {
    MatrixStack stack;
    for (int push = 0; push < 98; ++push) {
        stack.pushMatrix();
    }
    EXPECT_DEATH(stack.pushMatrix(), "mstack.size\\(\\) < 100");
}

TEST(MatrixStackDeathTest, PoppingTheLastEntryStops) {
    MatrixStack stack;
    stack.pushMatrix();
    stack.popMatrix();
    EXPECT_DEATH(stack.popMatrix(), "!mstack.empty\\(\\)");
}

TEST(MatrixStackDeathTest, PerspectiveWithZeroAspectOrEqualPlanesStops) {
    MatrixStack stack;
    EXPECT_DEATH(stack.perspective(0.5f, 0.0f, 0.1f, 100.0f), "aspect != static_cast<T>\\(0\\)");
    EXPECT_DEATH(stack.perspective(0.5f, 1.0f, 10.0f, 10.0f), "zFar != zNear");
}
