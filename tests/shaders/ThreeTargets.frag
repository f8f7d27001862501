#version 450

layout(location = 0) in vec3 inColour;
layout(location = 0) out vec4 first;
layout(location = 1) out vec4 second;
layout(location = 2) out vec4 third;

void main()
{
    first = vec4(inColour, 1.0);
    second = vec4(inColour.bgr, 1.0);
    third = vec4(1.0);
}
