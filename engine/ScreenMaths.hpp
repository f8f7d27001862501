#pragma once

#include <glm/gtc/quaternion.hpp>
#include <glm/mat4x4.hpp>

#include <string>

// Maps window pixels to Vulkan clip space: (0, 0) is the top-left corner and
// z = 0 lands on depth 1.
glm::mat4 screenProjection();
// Rotation about X by a, then about Z by -b, then about Y by c (degrees).
glm::quat quaternionFromEulerDegrees(float a, float b, float c);
// Code points of UTF-8 text; every malformed sequence becomes U+FFFD.
std::u32string toUtf32(const std::string& text);
