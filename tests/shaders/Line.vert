#version 450

layout(location = 0) in vec3 position;
layout(location = 1) in vec3 inColour;
layout(location = 0) out vec3 colour;

void main()
{
    gl_Position = vec4(position, 1.0);
    colour = inColour;
}
