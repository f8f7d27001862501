#version 450

layout(location = 0) in vec3 position;
layout(location = 1) in vec2 texCoord;
layout(location = 2) in vec3 normal;
layout(location = 3) in vec3 tangent;
layout(location = 4) in mat4 model;
layout(location = 0) out vec3 colour;

void main()
{
    gl_Position = model * vec4(position, 1.0);
    colour = vec3(texCoord, 0.0) + normal + tangent;
}
