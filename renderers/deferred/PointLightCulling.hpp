#pragma once

#include "renderers/deferred/DeferredUniforms.hpp"

#include <glm/mat4x4.hpp>

#include <cstdint>
#include <optional>
#include <vector>

// An eye and a sphere that hides from it whatever lies behind: the sea, whose
// near side the ocean pass draws over everything beyond it.
struct Occlusion
{
    glm::vec3 eye{0.0f};
    glm::vec3 centre{0.0f};
    float radius = 0.0f;
};

// Whether all of the sphere at `centre` with `radius` lies behind the
// occluding sphere: inside the cone of its outline and beyond the plane of
// that outline, where every sight line meets the occluder first. Never for an
// eye inside either sphere.
bool hiddenBehind(const Occlusion& occlusion, const glm::vec3& centre, float radius);

// The first `count` lights whose reach (the sphere of their radius) can touch
// what a camera with `viewProjection` (Vulkan's depth range) sees, in slot
// order: the point-light pass draws these alone. A light of no radius lights
// nothing and is left out. A matrix that gives no clean plane (not finite,
// say) keeps every light. With an `occlusion`, a light whose reach lies
// wholly behind its sphere is left out too.
std::vector<PointLight> lightsInView(const std::vector<PointLight>& lights, std::uint32_t count,
                                     const glm::mat4& viewProjection,
                                     const std::optional<Occlusion>& occlusion = std::nullopt);
