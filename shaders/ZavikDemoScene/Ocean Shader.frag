#version 450

#include "Deferred.glsl"

// The ocean is a sphere about the planet's centre, drawn over the G-buffer
// where it is nearer than the models; its waves are two scrolling normal maps
// projected along the axes.
layout(location = 0) in vec3 worldPosition;
layout(location = 1) in float viewDepth;

layout(binding = 0) uniform CameraBlock
{
    Camera camera;
};
layout(binding = 1) uniform sampler2D sceneDepth;
layout(binding = 2) uniform sampler2D firstWaves;
layout(binding = 3) uniform sampler2D secondWaves;

layout(push_constant) uniform Ocean
{
    vec4 lightDirection;
    float time;
}
ocean;

layout(location = 0) out vec4 outMaterial;
layout(location = 1) out vec4 outNormal;
layout(location = 2) out float outDepth;
layout(location = 3) out vec4 outAlbedo;

const vec3 deepWater = vec3(0.004, 0.022, 0.04);
const vec3 shallowWater = vec3(0.01, 0.08, 0.09);

vec2 waveSlope(vec2 coordinate)
{
    vec2 first = textureLod(firstWaves, coordinate * 0.045 + ocean.time * vec2(0.011, 0.006), 0.0).xy * 2.0 - 1.0;
    vec2 second = textureLod(secondWaves, coordinate * 0.11 - ocean.time * vec2(0.008, 0.017), 0.0).xy * 2.0 - 1.0;
    return first + second * 0.6;
}

void main()
{
    // From outside only the near side of the sphere is seen, from inside only
    // its inside. The vertex stage has clipped the far side away but for a
    // band beyond the horizon, whose faces turned away are dropped here.
    vec3 eye = cameraPosition(camera);
    bool facesCamera = dot(worldPosition, eye - worldPosition) > 0.0;
    bool cameraOutside = dot(eye, eye) > dot(worldPosition, worldPosition);
    if (facesCamera != cameraOutside)
    {
        discard;
    }
    float storedDepth = texelFetch(sceneDepth, ivec2(gl_FragCoord.xy), 0).r;
    if (gl_FragCoord.z >= storedDepth)
    {
        discard;
    }
    vec3 up = normalize(worldPosition);

    vec3 reference = abs(up.y) < 0.99 ? vec3(0.0, 1.0, 0.0) : vec3(1.0, 0.0, 0.0);
    vec3 east = normalize(cross(reference, up));
    vec3 north = cross(up, east);
    vec3 axisWeights = up * up;
    axisWeights *= axisWeights;
    axisWeights /= dot(axisWeights, vec3(1.0));
    // Over most of the sphere one or two axes carry all the weight; the
    // others would cost two texture reads each for nothing to see.
    const float negligible = 0.002;
    vec2 slope = vec2(0.0);
    if (axisWeights.x > negligible)
    {
        slope += axisWeights.x * waveSlope(worldPosition.zy);
    }
    if (axisWeights.y > negligible)
    {
        slope += axisWeights.y * waveSlope(worldPosition.xz);
    }
    if (axisWeights.z > negligible)
    {
        slope += axisWeights.z * waveSlope(worldPosition.xy);
    }
    vec3 normal = normalize(up + 0.3 * (slope.x * east + slope.y * north));
    if (!cameraOutside)
    {
        normal = -normal;
    }

    // Slopes turned towards the sun let more light through the crests.
    vec3 towardsSun = length(ocean.lightDirection.xyz) > 0.0 ? normalize(-ocean.lightDirection.xyz) : up;
    float crest = clamp(0.5 + 2.0 * dot(normal - up, towardsSun), 0.0, 1.0);

    // Rough enough that the sun's glint spreads into a path over the ripples
    // instead of standing on the water as a second sun.
    outMaterial = vec4(0.14, 0.0, 1.0, 0.0);
    outNormal = vec4(normal, surfaceOcean);
    outDepth = viewDepth;
    outAlbedo = vec4(mix(deepWater, shallowWater, crest * 0.7), 1.0);
}
