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

// The sea's surface (the ocean sphere's radius, less the sag of its flat
// faces). Seen from above it, whatever lies below is covered by the water the
// ocean pass draws over the G-buffer, so it is clipped before it is shaded:
// the sea bed, the islands' roots, the hulls' keels. A scene without the
// ocean keeps its eye inside this sphere (the trophy's stage stands at the
// origin), where nothing is clipped.
const float seaSurface = 100.25;

float underwaterClipDistance(vec3 world)
{
    vec3 eye = cameraPosition(camera);
    const float seaSquared = seaSurface * seaSurface;
    return dot(eye, eye) > seaSquared ? dot(world, world) - seaSquared : 1.0;
}

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
    gl_ClipDistance[0] = underwaterClipDistance(world.xyz);
}
