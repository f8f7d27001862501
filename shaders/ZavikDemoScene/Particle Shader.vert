#version 450

layout(push_constant) uniform Matrices
{
    mat4 view;
    mat4 projection;
} matrices;

layout(location = 0) in vec3 corner;
layout(location = 1) in vec2 texCoord;
layout(location = 2) in vec3 normal;
layout(location = 3) in vec3 tangent;
// The particle: position (w: life x time), size and alpha, velocity and life, parameters.
layout(location = 4) in mat4 particle;

layout(location = 0) out vec2 uv;
layout(location = 1) out float alpha;

void main()
{
    // The corner is offset in view space, so the quad always faces the camera.
    vec4 centre = matrices.view * vec4(particle[0].xyz, 1.0);
    gl_Position = matrices.projection * (centre + vec4(corner.xy * particle[1].x, 0.0, 0.0));
    // The quad's texture coordinates run upwards, an image's rows downwards.
    uv = vec2(texCoord.x, 1.0 - texCoord.y);
    alpha = clamp(particle[1].y, 0.0, 1.0);
}
