#version 450

#include "Deferred.glsl"

// One point light on the G-buffer pixels its sphere covers, added up.
layout(location = 0) flat in vec4 lightColourAndRadius;
layout(location = 1) flat in vec3 lightPosition;

layout(binding = 0) uniform CameraBlock
{
    Camera camera;
};
layout(binding = 1) uniform sampler2D materials;
layout(binding = 2) uniform sampler2D normals;
layout(binding = 3) uniform sampler2D depths;
layout(binding = 4) uniform sampler2D albedos;

// 0 shaded, 1 the light spheres, 2 lighting on white.
layout(push_constant) uniform PointLightMode
{
    uint mode;
}
view;

layout(location = 0) out vec4 outLight;

const float strength = 3.0;

void main()
{
    uint mode = view.mode % 3u;
    vec3 colour = lightColourAndRadius.rgb;
    float radius = lightColourAndRadius.w;
    if (mode == 1u)
    {
        outLight = vec4(colour * 0.05, 1.0);
        return;
    }
    // Read before any early out: the nearest sampler gives the texel under
    // the pixel, cheaper on a software driver than a fetch, and a software
    // driver runs what an early out skips anyway.
    vec2 uv = gl_FragCoord.xy / vec2(textureSize(depths, 0));
    vec4 normalAndKind = texture(normals, uv);
    float depth = texture(depths, uv).r;
    vec4 material = texture(materials, uv);
    vec3 albedo = mode == 2u ? vec3(1.0) : texture(albedos, uv).rgb;
    outLight = vec4(0.0, 0.0, 0.0, 1.0);
    if (depth <= 0.0 || normalAndKind.w < 0.5 || radius <= 0.0)
    {
        return;
    }
    vec3 position = reconstructPosition(camera, uv, depth);
    vec3 towardsLight = lightPosition - position;
    float distance = length(towardsLight);
    if (distance >= radius || distance <= 0.0)
    {
        return;
    }
    float reach = 1.0 - (distance * distance) / (radius * radius);
    vec3 radiance = colour * strength * reach * reach;
    vec3 normal = normalize(normalAndKind.xyz);
    vec3 toViewer = normalize(cameraPosition(camera) - position);
    float metallic = mode == 2u ? 0.0 : material.g;
    outLight.rgb = cookTorrance(normal, toViewer, towardsLight / distance, albedo, metallic, material.r, radiance);
}
