#version 120
// Texture colour plus a point light's ambient, diffuse and specular terms. The terrain
// brings a texture and no material; buildings bring a material and no texture (an unbound
// unit samples black), so one sum serves both.
uniform vec3 lightPos;  // in eye space: the light travels with the viewer
uniform sampler2D terrainTexture;
uniform vec3 ka;
uniform vec3 kd;
uniform vec3 ks;
uniform float s;

varying vec3 eyePosition;
varying vec3 eyeNormal;
varying vec2 texCoords;

void main() {
    vec3 n = normalize(eyeNormal);
    vec3 l = normalize(lightPos - eyePosition);
    vec3 v = normalize(-eyePosition);
    vec3 h = normalize(l + v);
    float diffuse = max(dot(n, l), 0.0);
    float specular = diffuse > 0.0 ? pow(max(dot(n, h), 0.0), max(s, 1.0)) : 0.0;
    vec3 texel = texture2D(terrainTexture, texCoords).rgb;
    gl_FragColor = vec4(texel + ka + kd * diffuse + ks * specular, 1.0);
}
