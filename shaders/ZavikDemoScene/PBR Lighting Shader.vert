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

// The light sphere has radius 3 and few faces (8 sectors, 4 stacks), whose
// middles lie inside the sphere: its nearest face is 0.8629 of the radius from
// the centre, so scaled 1.16 times beyond the light's radius it just covers all
// of it. Every pixel it covers is shaded, so it is no larger than that. The
// pass's culling bounds the drawn volume by the same factor (lightVolumeReach
// in renderers/deferred/PointLightCulling.hpp).
const float meshRadius = 3.0;
const float coverage = 1.16;

void main()
{
    float scale = colourAndRadius.w / meshRadius * coverage;
    vec3 world = positionAndSpare.xyz + position * scale;
    lightColourAndRadius = colourAndRadius;
    lightPosition = positionAndSpare.xyz;
    gl_Position = camera.viewProjection * vec4(world, 1.0);
}
