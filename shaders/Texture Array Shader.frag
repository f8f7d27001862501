#version 450

layout(location = 0) in vec2 imageCoord;

layout(location = 0) out vec4 colour;

layout(binding = 1) uniform sampler2DArray images;

// After the vertex stage's matrix.
layout(push_constant) uniform Layer
{
    layout(offset = 64) int layer;
};

void main()
{
    colour = texture(images, vec3(imageCoord, float(layer)));
}
