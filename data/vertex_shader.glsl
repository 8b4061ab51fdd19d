#version 120
// Positions to clip space; normals and positions to eye space for the lighting; terrain
// texture coordinates through the tiling matrix.
attribute vec3 vertexPosition;
attribute vec3 vertexNormal;
attribute vec2 terrainVertTexCoords;

uniform mat4 P;
uniform mat4 MV;
uniform mat3 terrainTexMat;

varying vec3 eyePosition;
varying vec3 eyeNormal;
varying vec2 texCoords;

void main() {
    vec4 eye = MV * vec4(vertexPosition, 1.0);
    eyePosition = eye.xyz;
    // Buildings are scaled along the axes only, so their face normals keep their direction.
    eyeNormal = mat3(MV) * vertexNormal;
    texCoords = (terrainTexMat * vec3(terrainVertTexCoords, 1.0)).xy;
    gl_Position = P * eye;
}
