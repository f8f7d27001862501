#version 450

layout(set = 0, binding = 0) uniform Block
{
    vec4 blockColour;
};
layout(location = 0) out vec4 colour;

void main()
{
    colour = blockColour;
}
