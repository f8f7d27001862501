#version 450

#include "Deferred.glsl"

layout(location = 0) in vec3 position;
layout(location = 1) in vec4 colourAndRadius;
layout(location = 2) in vec4 positionAndSpare;

layout(binding = 0) uniform CameraBlock
{
    Camera camera;
};

layout(location = 0) flat out vec4 lightColourAndRadius;
layout(location = 1) flat out vec3 lightPosition;

// The light sphere has radius 3 and few faces, whose middles lie inside the
// sphere: scaled a quarter beyond the light's radius it covers all of it.
const float meshRadius = 3.0;
const float coverage = 1.25;

void main()
{
    float scale = colourAndRadius.w / meshRadius * coverage;
    vec3 world = positionAndSpare.xyz + position * scale;
    lightColourAndRadius = colourAndRadius;
    lightPosition = positionAndSpare.xyz;
    gl_Position = camera.viewProjection * vec4(world, 1.0);
}
