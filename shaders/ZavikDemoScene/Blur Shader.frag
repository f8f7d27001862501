#version 450

// One direction of a separable Gaussian, its taps `spread` texels apart. The
// nine taps are folded in pairs onto whole texels (the centre, then about 2
// and 5 spreads of 1.5 away), read without filtering: on a software driver a
// filtered read costs several times an unfiltered one.
layout(location = 0) in vec2 uv;

layout(binding = 0) uniform sampler2D source;

layout(push_constant) uniform Blur
{
    uint horizontal;
    float spread;
}
blur;

layout(location = 0) out vec4 outColour;

const float centreWeight = 0.227027;
// Gaussian weights of taps 1 and 2, and of taps 3 and 4, summed.
const float nearWeight = 0.3162162;
const float farWeight = 0.07027;
// Their weighted mean distances, in spreads.
const float nearDistance = 1.3846154;
const float farDistance = 3.2307692;

void main()
{
    ivec2 size = textureSize(source, 0);
    ivec2 pixel = ivec2(gl_FragCoord.xy);
    ivec2 axis = blur.horizontal != 0u ? ivec2(1, 0) : ivec2(0, 1);
    ivec2 near = axis * int(round(nearDistance * blur.spread));
    ivec2 far = axis * int(round(farDistance * blur.spread));
    // Kept inside the picture: bloom must not wrap round.
    ivec2 last = size - 1;
    vec4 sum = texelFetch(source, clamp(pixel, ivec2(0), last), 0) * centreWeight;
    sum += (texelFetch(source, clamp(pixel + near, ivec2(0), last), 0) +
            texelFetch(source, clamp(pixel - near, ivec2(0), last), 0)) * nearWeight;
    sum += (texelFetch(source, clamp(pixel + far, ivec2(0), last), 0) +
            texelFetch(source, clamp(pixel - far, ivec2(0), last), 0)) * farWeight;
    outColour = sum;
}
