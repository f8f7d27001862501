#pragma once

#include <glm/vec2.hpp>

#include <cstdint>
#include <vector>

// The split-sum approximation of image-based specular light: for a view at
// `normalDotView` to a surface of `roughness`, the scale (x) and bias (y)
// that turn the base reflectance into the GGX BRDF integrated over the
// hemisphere, by importance sampling the GGX distribution.
glm::vec2 integrateBrdf(float normalDotView, float roughness, int sampleCount);

// The look-up table the composite pass reads: columns by normal . view,
// rows by roughness (both at texel centres, top row smooth), scale in red,
// bias in green, blue 0, alpha opaque; 8-bit RGBA.
std::vector<std::uint8_t> brdfLookupTable(int size, int sampleCount);
