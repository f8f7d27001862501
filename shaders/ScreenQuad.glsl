// The vertex stage of every screen-space quad: window pixels through the
// quad's own matrix, then the projection that maps the window to clip space.

layout(location = 0) in vec2 position;
layout(location = 1) in vec2 texCoord;

layout(location = 0) out vec2 imageCoord;

layout(binding = 0) uniform Projection
{
    mat4 projection;
};

layout(push_constant) uniform Draw
{
    mat4 model;
};

void main()
{
    gl_Position = projection * model * vec4(position, 0.0, 1.0);
    imageCoord = texCoord;
}
