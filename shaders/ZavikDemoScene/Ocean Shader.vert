#version 450

#include "Deferred.glsl"

layout(location = 0) in vec3 position;

layout(binding = 0) uniform CameraBlock
{
    Camera camera;
};

layout(location = 0) out vec3 worldPosition;
layout(location = 1) out float viewDepth;

void main()
{
    vec4 viewPosition = camera.view * vec4(position, 1.0);
    worldPosition = position;
    viewDepth = -viewPosition.z;
    gl_Position = camera.projection * viewPosition;
}
