#version 450

// One direction of a separable Gaussian, its taps `spread` texels apart. The
// nine taps are folded in pairs onto whole texels (the centre, then about 2
// and 5 spreads of 1.5 away), read at texel centres through a nearest sampler
// clamped to the edge (bloom must not wrap round): on a software driver a
// filtered read costs several times that, and a fetch a fifth more.
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
    vec2 size = vec2(textureSize(source, 0));
    vec2 centre = gl_FragCoord.xy / size;
    vec2 axis = blur.horizontal != 0u ? vec2(1.0 / size.x, 0.0) : vec2(0.0, 1.0 / size.y);
    vec2 near = axis * round(nearDistance * blur.spread);
    vec2 far = axis * round(farDistance * blur.spread);
    vec4 sum = texture(source, centre) * centreWeight;
    sum += (texture(source, centre + near) + texture(source, centre - near)) * nearWeight;
    sum += (texture(source, centre + far) + texture(source, centre - far)) * farWeight;
    outColour = sum;
}
