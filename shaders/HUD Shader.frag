#version 450

layout(location = 0) in vec2 imageCoord;

layout(location = 0) out vec4 colour;

layout(binding = 1) uniform sampler2D image;

void main()
{
    colour = texture(image, imageCoord);
}
