#version 450

layout(location = 0) in vec2 imageCoord;

layout(location = 0) out vec4 colour;

// One channel of glyph coverage.
layout(binding = 1) uniform sampler2D atlas;

void main()
{
    colour = vec4(1.0, 1.0, 1.0, texture(atlas, imageCoord).r);
}
