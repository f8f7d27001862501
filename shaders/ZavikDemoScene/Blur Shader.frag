#version 450

// One direction of a separable Gaussian, its taps `spread` texels apart.
layout(location = 0) in vec2 uv;

layout(binding = 0) uniform sampler2D source;

layout(push_constant) uniform Blur
{
    uint horizontal;
    float spread;
}
blur;

layout(location = 0) out vec4 outColour;

const float weights[5] = float[](0.227027, 0.1945946, 0.1216216, 0.054054, 0.016216);

void main()
{
    vec2 texel = 1.0 / vec2(textureSize(source, 0));
    vec2 step = (blur.horizontal != 0u ? vec2(texel.x, 0.0) : vec2(0.0, texel.y)) * blur.spread;
    // Kept inside the picture: the sampler repeats, and bloom must not wrap round.
    vec2 low = texel * 0.5;
    vec2 high = 1.0 - texel * 0.5;
    vec4 sum = texture(source, uv) * weights[0];
    for (int tap = 1; tap < 5; ++tap)
    {
        sum += texture(source, clamp(uv + step * float(tap), low, high)) * weights[tap];
        sum += texture(source, clamp(uv - step * float(tap), low, high)) * weights[tap];
    }
    outColour = sum;
}
