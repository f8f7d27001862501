#version 450

#include "Deferred.glsl"

layout(location = 0) in vec3 position;
layout(location = 1) in vec2 texCoord;
layout(location = 2) in vec3 normal;
layout(location = 3) in vec3 tangent;
layout(location = 4) in mat4 model;
layout(location = 8) in mat4 normalMatrix;

layout(binding = 0) uniform CameraBlock
{
    Camera camera;
};

layout(location = 0) out vec3 worldPosition;
layout(location = 1) out vec3 worldNormal;
layout(location = 2) out vec3 worldTangent;
layout(location = 3) out vec2 surfaceCoordinate;
layout(location = 4) out float viewDepth;

void main()
{
    vec4 world = model * vec4(position, 1.0);
    vec4 viewPosition = camera.view * world;
    worldPosition = world.xyz;
    worldNormal = mat3(normalMatrix) * normal;
    worldTangent = mat3(model) * tangent;
    surfaceCoordinate = texCoord;
    viewDepth = -viewPosition.z;
    gl_Position = camera.projection * viewPosition;
}
