#version 450

#include "ZavikDemoScene/Deferred.glsl"

// Phong tessellation: the new vertices bulge towards the surface that the
// corner normals describe, by the pushed factor (0 flat, 1 fully rounded).
layout(triangles, equal_spacing, ccw) in;

layout(location = 0) in vec3 patchPosition[];
layout(location = 1) in vec3 patchNormal[];
layout(location = 2) in vec3 patchTangent[];
layout(location = 3) in vec2 patchCoordinate[];

layout(binding = 0) uniform CameraBlock
{
    Camera camera;
};

layout(push_constant) uniform Tessellation
{
    layout(offset = 56) float roundness;
}
tessellation;

layout(location = 0) out vec3 worldPosition;
layout(location = 1) out vec3 worldNormal;
layout(location = 2) out vec3 worldTangent;
layout(location = 3) out vec2 surfaceCoordinate;
layout(location = 4) out float viewDepth;

vec3 ontoCornerPlane(vec3 point, int corner)
{
    return point - dot(point - patchPosition[corner], patchNormal[corner]) * patchNormal[corner];
}

void main()
{
    vec3 weights = gl_TessCoord;
    vec3 planar = weights.x * patchPosition[0] + weights.y * patchPosition[1] + weights.z * patchPosition[2];
    vec3 rounded = weights.x * ontoCornerPlane(planar, 0) + weights.y * ontoCornerPlane(planar, 1) +
                   weights.z * ontoCornerPlane(planar, 2);
    worldPosition = mix(planar, rounded, tessellation.roundness);
    worldNormal = weights.x * patchNormal[0] + weights.y * patchNormal[1] + weights.z * patchNormal[2];
    worldTangent = weights.x * patchTangent[0] + weights.y * patchTangent[1] + weights.z * patchTangent[2];
    surfaceCoordinate =
        weights.x * patchCoordinate[0] + weights.y * patchCoordinate[1] + weights.z * patchCoordinate[2];
    vec4 viewPosition = camera.view * vec4(worldPosition, 1.0);
    viewDepth = -viewPosition.z;
    gl_Position = camera.projection * viewPosition;
}
