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

// What the point-light pass shows, by the renderer's pointLightMode folded as
// the point-light shader folds it (mode % 3): the light the lights shed on the
// picture (modes 0 and 2), or the light volumes themselves (mode 1), drawn
// over everything, the sea included.
enum class LightView : std::uint8_t
{
    shaded,
    volumes
};

LightView lightViewOf(std::uint32_t pointLightMode);

// How far the drawn light volume reaches from its light, in radii: the
// point-light vertex shader scales its coarse light sphere to `coverage` (1.16)
// times the radius, just enough for its faces to cover all of the radius.
inline constexpr float lightVolumeReach = 1.16f;

// The first `count` lights that can change what a camera with `viewProjection`
// (Vulkan's depth range) sees in `view`, in slot order: the point-light pass
// draws these alone. Shaded, a light changes the picture only within its
// radius, and with an `occlusion` not where all of that lies behind it; a
// light of no radius lights nothing. As volumes, a light shows wherever its
// drawn volume reaches into the view, whatever lies in front of it. A matrix
// that gives no clean plane (not finite, say) keeps every light that shows.
std::vector<PointLight> lightsInView(const std::vector<PointLight>& lights, std::uint32_t count,
                                     const glm::mat4& viewProjection,
                                     const std::optional<Occlusion>& occlusion = std::nullopt,
                                     LightView view = LightView::shaded);
