#version 450

// The models' own vertex and instance layout; only the position and the
// model matrix matter to the shadow map, the rest is declared so that every
// attribute the pipeline feeds has a reader.
layout(location = 0) in vec3 position;
layout(location = 1) in vec2 texCoord;
layout(location = 2) in vec3 normal;
layout(location = 3) in vec3 tangent;
layout(location = 4) in mat4 model;
layout(location = 8) in mat4 normalMatrix;

layout(binding = 0) uniform LightBlock
{
    mat4 viewProjection;
}
light;

void main()
{
    gl_Position = light.viewProjection * model * vec4(position, 1.0);
}
