#version 450

// From the linear HDR picture and its bloom to the display: exposure, filmic
// tone mapping, saturation and the display's gamma (the swap chain stores
// what it is given).
layout(location = 0) in vec2 uv;

layout(binding = 0) uniform sampler2D picture;
layout(binding = 1) uniform sampler2D bloom;

// Modes: 0 graded, 1 without bloom, 2 bloom alone, 3 clipped instead of tone mapped.
layout(push_constant) uniform Grading
{
    float gamma;
    float exposure;
    float saturation;
    float bloomStrength;
    uint mode;
}
grading;

layout(location = 0) out vec4 outColour;

// The texel under the pixel: the picture and its bloom are as large as the
// pass's viewport, and their sampler is nearest, so the read gives the texel's
// colour at a fraction of a filtered one's cost on a software driver.
vec3 texelAt(sampler2D image)
{
    return texture(image, uv).rgb;
}

vec3 filmic(vec3 x)
{
    return clamp((x * (2.51 * x + 0.03)) / (x * (2.43 * x + 0.59) + 0.14), 0.0, 1.0);
}

void main()
{
    uint mode = grading.mode % 4u;
    vec3 scene = mode == 2u ? vec3(0.0) : texelAt(picture);
    vec3 glow = mode == 1u ? vec3(0.0) : texelAt(bloom) * grading.bloomStrength;
    vec3 exposed = max(scene + glow, 0.0) * grading.exposure;
    vec3 mapped = mode == 3u ? clamp(exposed, 0.0, 1.0) : filmic(exposed);
    float luminance = dot(mapped, vec3(0.2126, 0.7152, 0.0722));
    vec3 saturated = clamp(mix(vec3(luminance), mapped, grading.saturation), 0.0, 1.0);
    outColour = vec4(pow(saturated, vec3(1.0 / grading.gamma)), 1.0);
}
