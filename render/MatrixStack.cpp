#include "render/MatrixStack.h"

#include <cassert>
#include <cstdio>
#include <glm/gtc/matrix_transform.hpp>

// Written as a template so that a failed check names the condition in its general form.
template <typename T>
static void checkPerspective(T aspect, T zNear, T zFar) {
    assert(aspect != static_cast<T>(0));
    assert(zFar != zNear);
}

MatrixStack::MatrixStack() {
    mstack.push(glm::mat4(1.0f));
}

MatrixStack::~MatrixStack() {}

void MatrixStack::pushMatrix() {
    const glm::mat4 top = mstack.top();
    mstack.push(top);
    assert(mstack.size() < 100);
}

void MatrixStack::popMatrix() {
    assert(!mstack.empty());
    mstack.pop();
    assert(!mstack.empty());
}

void MatrixStack::loadIdentity() {
    mstack.top() = glm::mat4(1.0f);
}

void MatrixStack::translate(const glm::vec3& offset) {
    mstack.top() *= glm::translate(glm::mat4(1.0f), offset);
}

void MatrixStack::scale(const glm::vec3& factors) {
    mstack.top() *= glm::scale(glm::mat4(1.0f), factors);
}

void MatrixStack::scale(float factor) {
    scale(glm::vec3(factor));
}

void MatrixStack::rotate(float angle, const glm::vec3& axis) {
    mstack.top() *= glm::rotate(glm::mat4(1.0f), angle, axis);
}

void MatrixStack::multMatrix(const glm::mat4& m) {
    mstack.top() *= m;
}

void MatrixStack::ortho(float left, float right, float bottom, float top, float zNear, float zFar) {
    mstack.top() = glm::ortho(left, right, bottom, top, zNear, zFar);
}

void MatrixStack::perspective(float fovy, float aspect, float zNear, float zFar) {
    checkPerspective(aspect, zNear, zFar);
    mstack.top() = glm::perspective(fovy, aspect, zNear, zFar);
}

void MatrixStack::frustum(float left, float right, float bottom, float top, float zNear,
                          float zFar) {
    mstack.top() = glm::frustum(left, right, bottom, top, zNear, zFar);
}

void MatrixStack::lookAt(const glm::vec3& eye, const glm::vec3& center, const glm::vec3& up) {
    mstack.top() = glm::lookAt(eye, center, up);
}

const glm::mat4& MatrixStack::topMatrix() const {
    return mstack.top();
}

void MatrixStack::print(const glm::mat4& m) const {
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            printf("%- 5.2f ", m[col][row]);
        }
        printf("\n");
    }
    printf("\n");
}

void MatrixStack::print() const {
    print(topMatrix());
}

void MatrixStack::printStack() const {
    std::stack<glm::mat4> copy = mstack;
    while (!copy.empty()) {
        print(copy.top());
        copy.pop();
    }
}
