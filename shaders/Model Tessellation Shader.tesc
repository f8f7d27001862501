#version 450

layout(vertices = 3) out;

layout(location = 0) in vec3 worldPosition[];
layout(location = 1) in vec3 worldNormal[];
layout(location = 2) in vec3 worldTangent[];
layout(location = 3) in vec2 surfaceCoordinate[];

layout(location = 0) out vec3 patchPosition[];
layout(location = 1) out vec3 patchNormal[];
layout(location = 2) out vec3 patchTangent[];
layout(location = 3) out vec2 patchCoordinate[];

const float subdivisions = 4.0;

void main()
{
    patchPosition[gl_InvocationID] = worldPosition[gl_InvocationID];
    patchNormal[gl_InvocationID] = worldNormal[gl_InvocationID];
    patchTangent[gl_InvocationID] = worldTangent[gl_InvocationID];
    patchCoordinate[gl_InvocationID] = surfaceCoordinate[gl_InvocationID];
    if (gl_InvocationID == 0)
    {
        gl_TessLevelInner[0] = subdivisions;
        gl_TessLevelOuter[0] = subdivisions;
        gl_TessLevelOuter[1] = subdivisions;
        gl_TessLevelOuter[2] = subdivisions;
    }
}
