#include "renderers/deferred/PointLightCulling.hpp"

#include <glm/geometric.hpp>
#include <glm/vec4.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <iterator>

namespace
{
// The six planes of the view volume, each facing inwards and scaled so that
// its value at a point is the point's distance from it; a plane the matrix
// does not bound (a zero normal) or that is not finite is left out.
std::vector<glm::vec4> frustumPlanes(const glm::mat4& viewProjection)
{
    const glm::mat4 rows = glm::transpose(viewProjection);
    // Vulkan's clip volume: -w <= x, y <= w and 0 <= z <= w.
    const std::array<glm::vec4, 6> planes{rows[3] + rows[0], rows[3] - rows[0], rows[3] + rows[1],
                                          rows[3] - rows[1], rows[2],           rows[3] - rows[2]};
    std::vector<glm::vec4> kept;
    for (const glm::vec4& plane : planes)
    {
        const float length = glm::length(glm::vec3(plane));
        const glm::vec4 unit = plane / length;
        if (length > 0.0f && std::isfinite(unit.x) && std::isfinite(unit.y) && std::isfinite(unit.z) &&
            std::isfinite(unit.w))
        {
            kept.push_back(unit);
        }
    }
    return kept;
}
}

bool hiddenBehind(const Occlusion& occlusion, const glm::vec3& centre, float radius)
{
    const glm::vec3 towardsOccluder = occlusion.centre - occlusion.eye;
    const float occluderDistance = glm::length(towardsOccluder);
    const glm::vec3 towardsSphere = centre - occlusion.eye;
    const float sphereDistance = glm::length(towardsSphere);
    if (occlusion.radius <= 0.0f || occluderDistance <= occlusion.radius || sphereDistance <= radius)
    {
        return false;
    }
    const glm::vec3 axis = towardsOccluder / occluderDistance;
    // The outline's plane lies this far along the axis from the eye.
    const float outlineDistance =
        (occluderDistance * occluderDistance - occlusion.radius * occlusion.radius) / occluderDistance;
    if (glm::dot(towardsSphere, axis) - radius < outlineDistance)
    {
        return false;
    }
    const float coneAngle = std::asin(occlusion.radius / occluderDistance);
    const float sphereAngle = std::asin(radius / sphereDistance);
    const float offAxis = std::acos(std::clamp(glm::dot(towardsSphere / sphereDistance, axis), -1.0f, 1.0f));
    return offAxis + sphereAngle <= coneAngle;
}

LightView lightViewOf(std::uint32_t pointLightMode)
{
    return pointLightMode % 3 == 1 ? LightView::volumes : LightView::shaded;
}

std::vector<PointLight> lightsInView(const std::vector<PointLight>& lights, std::uint32_t count,
                                     const glm::mat4& viewProjection, const std::optional<Occlusion>& occlusion,
                                     LightView view)
{
    const std::vector<glm::vec4> planes = frustumPlanes(viewProjection);
    const bool volumes = view == LightView::volumes;
    const auto shows = [&](const PointLight& light) {
        // A negative radius turns the drawn volume inside out, which still shows.
        const float reach = volumes ? lightVolumeReach * std::abs(light.radius) : light.radius;
        return reach > 0.0f &&
               std::none_of(planes.begin(), planes.end(),
                            [&light, reach](const glm::vec4& plane) {
                                return glm::dot(glm::vec3(plane), light.position) + plane.w < -reach;
                            }) &&
               (volumes || !(occlusion && hiddenBehind(*occlusion, light.position, reach)));
    };
    std::vector<PointLight> inView;
    const auto last = lights.begin() + std::min<std::size_t>(count, lights.size());
    std::copy_if(lights.begin(), last, std::back_inserter(inView), shows);
    return inView;
}
