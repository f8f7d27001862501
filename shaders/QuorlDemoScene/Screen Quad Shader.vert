#version 450

// One triangle over the whole target, wound to face the viewer; `uv` runs
// from 0 to 1 across the target, (0, 0) at its first texel.
layout(location = 0) out vec2 uv;

void main()
{
    uv = vec2(gl_VertexIndex & 2, (gl_VertexIndex << 1) & 2);
    gl_Position = vec4(uv * 2.0 - 1.0, 0.0, 1.0);
}
