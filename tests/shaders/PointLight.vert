#version 450

// The sphere scaled by the light's radius and moved to its position.
layout(location = 0) in vec3 position;
layout(location = 1) in vec4 colourAndRadius;
layout(location = 2) in vec4 positionAndSpare;
layout(location = 0) out vec3 colour;

void main()
{
    gl_Position = vec4(position.xy * colourAndRadius.w + positionAndSpare.xy, positionAndSpare.z, 1.0);
    colour = colourAndRadius.rgb;
}
