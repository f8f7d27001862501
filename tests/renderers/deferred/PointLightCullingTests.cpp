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

// Two metres above a planet of radius 100 the horizon lies 20 m off and 11.3
// degrees round the planet: a reach wholly beyond it is hidden by the sea, a
// reach that pokes over it, or lies on this side, or holds the eye, is not.
TEST(PointLightCullingTest, AReachIsHiddenExactlyWhenTheSeaCoversAllOfIt)
{
    const auto onSea = [](float degreesRound, float height) {
        const float angle = glm::radians(degreesRound);
        return (100.0f + height) * glm::vec3(std::sin(angle), std::cos(angle), 0.0f);
    };
    const Occlusion aboveTheSea{{0.0f, 102.0f, 0.0f}, glm::vec3(0.0f), 100.0f};
    const Occlusion fromSpace{{0.0f, 400.0f, 0.0f}, glm::vec3(0.0f), 100.0f};
    const struct
    {
        const char* where;
        Occlusion occlusion;
        glm::vec3 centre;
        float radius;
        bool hidden;
    } cases[] = {
        {"the far side of the planet", aboveTheSea, {0.0f, -101.0f, 0.0f}, 8.0f, true},
        {"30 degrees round, small", aboveTheSea, onSea(30.0f, 0.0f), 1.0f, true},
        {"30 degrees round, reaching over the horizon", aboveTheSea, onSea(30.0f, 0.0f), 6.0f, false},
        {"just past the horizon, reaching back over it", aboveTheSea, onSea(14.0f, 0.0f), 5.0f, false},
        {"beside the eye", aboveTheSea, {10.0f, 101.0f, 0.0f}, 8.0f, false},
        {"holding the eye", aboveTheSea, {0.0f, -101.0f, 0.0f}, 300.0f, false},
        {"from space, between the eye and the planet", fromSpace, {0.0f, 200.0f, 0.0f}, 10.0f, false},
        {"from space, behind the planet", fromSpace, {0.0f, -150.0f, 0.0f}, 10.0f, true},
        {"from space, beside the planet", fromSpace, {150.0f, -50.0f, 0.0f}, 10.0f, false},
        {"from under the sea", {{0.0f, 50.0f, 0.0f}, glm::vec3(0.0f), 100.0f}, {0.0f, -101.0f, 0.0f}, 1.0f, false},
        {"no sea", {{0.0f, 102.0f, 0.0f}, glm::vec3(0.0f), 0.0f}, {0.0f, -101.0f, 0.0f}, 1.0f, false},
    };
    for (const auto& entry : cases)
    {
        EXPECT_EQ(hiddenBehind(entry.occlusion, entry.centre, entry.radius), entry.hidden) << entry.where;
    }

    // In view of a camera at the eye looking down at the far side, the
    // hidden light alone is left out.
    glm::mat4 projection = glm::perspectiveRH_ZO(glm::radians(90.0f), 1.0f, 0.1f, 500.0f);
    projection[1][1] = -projection[1][1];
    const glm::mat4 lookingDown =
        projection * glm::lookAt(aboveTheSea.eye, glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, -1.0f));
    const std::vector<PointLight> lights{lightAt({0.0f, -101.0f, 0.0f}, 8.0f), lightAt({0.0f, 101.0f, 0.0f}, 3.0f)};
    EXPECT_EQ(lightsInView(lights, 2, lookingDown).size(), 2u);
    const std::vector<PointLight> kept = lightsInView(lights, 2, lookingDown, aboveTheSea);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].position, lights[1].position);
}
}

// F10 folds onto three views; the second draws the light volumes themselves,
// 1.16 times the radius and over everything: a light counts there wherever
// that volume can reach into the view, however the sea lies.
TEST(PointLightCullingTest, InTheVolumeViewALightCountsByItsDrawnVolumeAndTheSeaHidesNone)
{
    const std::vector<LightView> views{lightViewOf(0), lightViewOf(1), lightViewOf(2), lightViewOf(4)};
    EXPECT_EQ(views,
              (std::vector<LightView>{LightView::shaded, LightView::volumes, LightView::shaded, LightView::volumes}));

    // Left of the view, 1.1 radii beyond its side plane; then beyond its far plane.
    const float diagonal = std::sqrt(0.5f);
    const std::vector<PointLight> beside{lightAt({-10.0f - 2.2f / diagonal, 0, -10}, 2.0f),
                                         lightAt({0, 0, -52.8f}, 2.5f), lightAt({0, 0, -54}, 2.5f)};
    EXPECT_TRUE(lightsInView(beside, 3, camera()).empty());
    const std::vector<PointLight> volumes = lightsInView(beside, 3, camera(), std::nullopt, LightView::volumes);
    ASSERT_EQ(volumes.size(), 2u);
    EXPECT_EQ(volumes[0].position, beside[0].position);
    EXPECT_EQ(volumes[1].position, beside[1].position);

    // Straight ahead but wholly behind a sea that fills the view.
    const Occlusion sea{glm::vec3(0.0f), {0, 0, -30}, 10.0f};
    const std::vector<PointLight> behind{lightAt({0, 0, -45}, 1.0f), lightAt({0, 0, -10}, 0.0f),
                                         lightAt({0, 0, -10}, -1.0f)};
    EXPECT_TRUE(lightsInView(behind, 3, camera(), sea).empty());
    const std::vector<PointLight> shown = lightsInView(behind, 3, camera(), sea, LightView::volumes);
    ASSERT_EQ(shown.size(), 2u) << "a volume of no radius covers nothing; one of a negative radius still shows";
    EXPECT_EQ(shown[0].radius, 1.0f);
    EXPECT_EQ(shown[1].radius, -1.0f);
}
