#version 450

#include "Deferred.glsl"

layout(location = 0) in vec3 position;

layout(binding = 0) uniform CameraBlock
{
    Camera camera;
};

layout(location = 0) out vec3 worldPosition;
layout(location = 1) out float viewDepth;

// Seen from outside, only the cap of the sphere nearer than the horizon can
// show; the rest lies behind it. The pass has no depth attachment to reject
// it, so it is clipped away before it is rasterised, at the plane through the
// horizon moved out by this angle: a face that still turns to the eye at the
// horizon reaches beyond it by at most the angle from the face's middle to
// its corners (0.023 on the ocean's sphere). The fragment stage trims the
// faces of that band that turn away.
const float horizonMargin = 0.03;

float horizonClipDistance(vec3 eye)
{
    float radius = length(position);
    float eyeDistance = length(eye);
    // From inside, the whole inside is in view.
    if (eyeDistance <= radius)
    {
        return 1.0;
    }
    float cosHorizon = radius / eyeDistance;
    float sinHorizon = sqrt(1.0 - cosHorizon * cosHorizon);
    float cosBeyond = cosHorizon * cos(horizonMargin) - sinHorizon * sin(horizonMargin);
    return dot(position, eye) - radius * eyeDistance * cosBeyond;
}

void main()
{
    vec4 viewPosition = camera.view * vec4(position, 1.0);
    worldPosition = position;
    viewDepth = -viewPosition.z;
    gl_Position = camera.projection * viewPosition;
    gl_ClipDistance[0] = horizonClipDistance(cameraPosition(camera));
}
