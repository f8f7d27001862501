#version 450

layout(location = 0) in vec2 position;
layout(location = 1) in vec2 texCoord;
layout(location = 0) out vec3 colour;

layout(push_constant) uniform Push
{
    mat4 model;
};

void main()
{
    gl_Position = model * vec4(position, 0.0, 1.0);
    colour = vec3(texCoord, 0.0);
}
