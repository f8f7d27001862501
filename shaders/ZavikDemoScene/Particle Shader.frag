#version 450

layout(binding = 0) uniform sampler2D particleTexture;

layout(location = 0) in vec2 uv;
layout(location = 1) in float alpha;

layout(location = 0) out vec4 colour;

void main()
{
    vec4 texel = texture(particleTexture, uv);
    colour = vec4(texel.rgb, texel.a * alpha);
}
