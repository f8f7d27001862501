#version 450

#include "Deferred.glsl"

// Ambient occlusion in view space from the G-buffer's normals and depths:
// kernel offsets turned about the normal by a per-pixel angle, each counted
// as occluded when the scene lies in front of it.
layout(location = 0) in vec2 uv;

layout(binding = 0) uniform CameraBlock
{
    Camera camera;
};
layout(binding = 1) uniform KernelBlock
{
    vec4 samples[16];
}
kernel;
// Read through a nearest sampler clamped to the edge: the texel under a
// point, cheaper on a software driver than a fetch.
layout(binding = 2) uniform sampler2D normals;
layout(binding = 3) uniform sampler2D depths;

layout(location = 0) out vec2 outOcclusion;

const float radius = 0.75;

vec3 viewPosition(vec2 coordinate, float depth)
{
    vec2 ndc = coordinate * 2.0 - 1.0;
    return vec3(ndc.x * depth / camera.projection[0][0], ndc.y * depth / camera.projection[1][1], -depth);
}

float pixelAngle()
{
    return fract(sin(dot(gl_FragCoord.xy, vec2(12.9898, 78.233))) * 43758.5453) * 2.0 * PI;
}

void main()
{
    float depth = texture(depths, uv).r;
    vec4 normalAndKind = texture(normals, uv);
    if (depth <= 0.0 || normalAndKind.w < 0.5)
    {
        outOcclusion = vec2(1.0, 0.0);
        return;
    }
    vec3 position = viewPosition(uv, depth);
    vec3 normal = normalize(mat3(camera.view) * normalAndKind.xyz);
    float angle = pixelAngle();
    vec3 turn = vec3(cos(angle), sin(angle), 0.0);
    vec3 tangent = turn - normal * dot(turn, normal);
    tangent = dot(tangent, tangent) > 1e-6 ? normalize(tangent) : normalize(cross(normal, vec3(0.0, 0.0, 1.0)));
    mat3 frame = mat3(tangent, cross(normal, tangent), normal) * radius;

    // Only x, y and w of a probe's clip position are needed.
    mat4 projection = camera.projection;
    vec4 rowX = vec4(projection[0][0], projection[1][0], projection[2][0], projection[3][0]);
    vec4 rowY = vec4(projection[0][1], projection[1][1], projection[2][1], projection[3][1]);
    vec4 rowW = vec4(projection[0][3], projection[1][3], projection[2][3], projection[3][3]);
    float bias = 0.02 + depth * 0.002;
    float occlusion = 0.0;
    for (int index = 0; index < 16; ++index)
    {
        vec4 probe = vec4(position + frame * kernel.samples[index].xyz, 1.0);
        vec2 probeCoordinate = vec2(dot(rowX, probe), dot(rowY, probe)) / dot(rowW, probe) * 0.5 + 0.5;
        if (any(lessThan(probeCoordinate, vec2(0.0))) || any(greaterThan(probeCoordinate, vec2(1.0))))
        {
            continue;
        }
        float sceneDepth = texture(depths, probeCoordinate).r;
        if (sceneDepth <= 0.0)
        {
            continue;
        }
        float nearby = smoothstep(0.0, 1.0, radius / abs(depth - sceneDepth));
        occlusion += sceneDepth < -probe.z - bias ? nearby : 0.0;
    }
    outOcclusion = vec2(pow(1.0 - occlusion / 16.0, 1.5), depth);
}
