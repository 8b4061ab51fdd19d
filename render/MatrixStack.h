// A last-in, first-out stack of 4x4 transforms whose top is the current transform.
// Transform operations post-multiply the top; projection and viewing operations replace it.
#pragma once

#include <glm/glm.hpp>
#include <stack>

class MatrixStack {
  public:
    MatrixStack();
    virtual ~MatrixStack();

    void pushMatrix();
    void popMatrix();

    void loadIdentity();
    void translate(const glm::vec3& offset);
    void scale(const glm::vec3& factors);
    void scale(float factor);
    void rotate(float angle, const glm::vec3& axis);
    void multMatrix(const glm::mat4& m);

    void ortho(float left, float right, float bottom, float top, float zNear, float zFar);
    void perspective(float fovy, float aspect, float zNear, float zFar);
    void frustum(float left, float right, float bottom, float top, float zNear, float zFar);
    void lookAt(const glm::vec3& eye, const glm::vec3& center, const glm::vec3& up);

    const glm::mat4& topMatrix() const;

    void print(const glm::mat4& m) const;
    void print() const;
    void printStack() const;

  private:
    std::stack<glm::mat4> mstack;
};
