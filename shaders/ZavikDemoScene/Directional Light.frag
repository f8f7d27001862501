#version 450

// The sun's shadow map. Depths are stored turned over, so that the target's
// cleared value 0 stands for "nothing in the way".
layout(location = 0) out float outDepth;

void main()
{
    outDepth = 1.0 - gl_FragCoord.z;
}
