#pragma once

#include "renderers/deferred/DeferredUniforms.hpp"

#include <glm/mat4x4.hpp>

#include <cstdint>
#include <vector>

// The first `count` lights whose reach (the sphere of their radius) can touch
// what a camera with `viewProjection` (Vulkan's depth range) sees, in slot
// order: the point-light pass draws these alone. A light of no radius lights
// nothing and is left out. A matrix that gives no clean plane (not finite,
// say) keeps every light.
std::vector<PointLight> lightsInView(const std::vector<PointLight>& lights, std::uint32_t count,
                                     const glm::mat4& viewProjection);
