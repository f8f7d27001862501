#version 450

layout(vertices = 3) out;
layout(location = 0) in vec3 inColour[];
layout(location = 0) out vec3 colour[];

void main()
{
    gl_out[gl_InvocationID].gl_Position = gl_in[gl_InvocationID].gl_Position;
    colour[gl_InvocationID] = inColour[gl_InvocationID];
    gl_TessLevelInner[0] = 1.0;
    gl_TessLevelOuter = float[4](1.0, 1.0, 1.0, 0.0);
}
