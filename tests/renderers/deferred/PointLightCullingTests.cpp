#include "renderers/deferred/PointLightCulling.hpp"

#include <fmt/format.h>
#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace
{
PointLight lightAt(const glm::vec3& position, float radius)
{
    return {glm::vec3(1.0f), radius, position, 0.0f};
}

// At the origin looking down -z, 90 degrees across and up, near 1, far 50,
// flipped as the game's cameras are: the view's side planes are x = +-(-z)
// and y = +-(-z).
glm::mat4 camera()
{
    glm::mat4 projection = glm::perspectiveRH_ZO(glm::radians(90.0f), 1.0f, 1.0f, 50.0f);
    projection[1][1] = -projection[1][1];
    return projection;
}

// A light counts when its reach can touch the view volume: straddling a
// plane by any part of its radius keeps it, lying wholly beyond one drops it.
TEST(PointLightCullingTest, ALightIsKeptExactlyWhenItsReachCanTouchTheView)
{
    const float diagonal = std::sqrt(0.5f);
    const struct
    {
        const char* where;
        glm::vec3 position;
        float radius;
        bool kept;
    } cases[] = {
        {"straight ahead", {0, 0, -10}, 1.0f, true},
        {"round the eye", {0, 0, 0}, 1.5f, true},
        {"round the eye, short of the near plane", {0, 0, 0}, 0.5f, false},
        {"behind the eye", {0, 0, 3}, 1.0f, false},
        {"behind, reaching past the near plane", {0, 0, 0.5f}, 2.0f, true},
        {"left, reaching in", {-12.0f, 0, -10}, 2.0f * diagonal + 0.1f, true},
        {"left, just short", {-12.0f, 0, -10}, 2.0f * diagonal - 0.1f, false},
        {"above, reaching in", {0, 13.0f, -10}, 3.0f * diagonal + 0.1f, true},
        {"below, just short", {0, -13.0f, -10}, 3.0f * diagonal - 0.1f, false},
        {"beyond the far plane, reaching in", {0, 0, -52}, 2.5f, true},
        {"beyond the far plane", {0, 0, -52}, 1.5f, false},
        {"no radius", {0, 0, -10}, 0.0f, false},
    };
    for (const auto& entry : cases)
    {
        const std::vector<PointLight> kept = lightsInView({lightAt(entry.position, entry.radius)}, 1, camera());
        EXPECT_EQ(kept.size(), entry.kept ? 1u : 0u) << entry.where;
    }
}

TEST(PointLightCullingTest, OnlyTheCountedSlotsAreConsideredAndTheKeptKeepTheirOrder)
{
    std::vector<PointLight> slots(75);
    slots[0] = lightAt({0, 0, -5}, 1.0f);
    slots[1] = lightAt({0, 0, 5}, 1.0f);
    slots[2] = lightAt({1, 0, -8}, 2.0f);
    slots[3] = lightAt({-1, 0, -9}, 3.0f);
    // Beyond the count: never drawn, whatever it holds.
    slots[4] = lightAt({0, 0, -6}, 1.0f);

    const std::vector<PointLight> kept = lightsInView(slots, 4, camera());
    ASSERT_EQ(kept.size(), 3u);
    EXPECT_EQ(kept[0].position, slots[0].position);
    EXPECT_EQ(kept[1].position, slots[2].position);
    EXPECT_EQ(kept[2].position, slots[3].position);
    EXPECT_EQ(kept[2].radius, 3.0f);
    EXPECT_TRUE(lightsInView(slots, 0, camera()).empty());
    EXPECT_EQ(lightsInView(slots, 500, camera()).size(), 4u) << "a count beyond the slots reads the slots alone";
}

// A camera whose matrix cannot be trusted must not make lights vanish.
TEST(PointLightCullingTest, AMatrixWithoutFinitePlanesKeepsEveryLitLight)
{
    const glm::mat4 broken(std::numeric_limits<float>::quiet_NaN());
    const std::vector<PointLight> lights{lightAt({0, 0, 30}, 1.0f), lightAt({40, 0, 0}, 1.0f),
                                         lightAt({0, 0, 0}, 0.0f)};
    EXPECT_EQ(lightsInView(lights, 3, broken).size(), 2u);
    EXPECT_EQ(lightsInView(lights, 3, glm::mat4(0.0f)).size(), 2u);
}
}
