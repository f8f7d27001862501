#version 450

layout(binding = 0) uniform Camera
{
    mat4 viewProjection;
} camera;

layout(location = 0) in vec3 position;
layout(location = 1) in vec3 lineColour;

layout(location = 0) out vec3 colour;

void main()
{
    gl_Position = camera.viewProjection * vec4(position, 1.0);
    colour = lineColour;
}
