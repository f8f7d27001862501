#include "graphics/Sphere.hpp"

#include <glm/geometric.hpp>
#include <gtest/gtest.h>

namespace
{
TEST(SphereTest, PointLightSphereHasItsPolesAndFirstQuad)
{
    const float radius = 3.0f;
    const MeshData<PositionVertex> sphere = generateSphere(radius, 8, 4);
    ASSERT_EQ(sphere.vertices.size(), 45u);
    ASSERT_EQ(sphere.indices.size(), 192u);
    EXPECT_EQ(std::vector<std::uint32_t>(sphere.indices.begin(), sphere.indices.begin() + 6),
              (std::vector<std::uint32_t>{1, 10, 0, 0, 10, 9}));
    EXPECT_NEAR(glm::distance(sphere.vertices.front().position, glm::vec3(0.0f, radius, 0.0f)), 0.0f, 1e-6f);
    EXPECT_NEAR(glm::distance(sphere.vertices.back().position, glm::vec3(0.0f, -radius, 0.0f)), 0.0f, 1e-6f);
    for (const PositionVertex& vertex : sphere.vertices)
    {
        EXPECT_NEAR(glm::length(vertex.position), radius, 1e-5f);
    }
}

TEST(SphereTest, EveryTriangleIsInRangeAndFacesOutwardCounterClockwise)
{
    const MeshData<PositionVertex> sphere = generateSphere(108.0f, 32, 16);
    ASSERT_EQ(sphere.vertices.size(), 17u * 33u);
    ASSERT_EQ(sphere.indices.size(), 16u * 32u * 6u);
    int degenerate = 0;
    for (std::size_t t = 0; t < sphere.indices.size(); t += 3)
    {
        ASSERT_LT(sphere.indices[t], sphere.vertices.size());
        ASSERT_LT(sphere.indices[t + 1], sphere.vertices.size());
        ASSERT_LT(sphere.indices[t + 2], sphere.vertices.size());
        const glm::vec3 a = sphere.vertices[sphere.indices[t]].position;
        const glm::vec3 b = sphere.vertices[sphere.indices[t + 1]].position;
        const glm::vec3 c = sphere.vertices[sphere.indices[t + 2]].position;
        const glm::vec3 normal = glm::cross(b - a, c - a);
        if (glm::length(normal) < 1e-3f)
        {
            ++degenerate;
            continue;
        }
        EXPECT_GT(glm::dot(normal, a + b + c), 0.0f) << "triangle " << t / 3;
    }
    // The first triangle of each top-row quad and the second of each bottom-row quad.
    EXPECT_EQ(degenerate, 2 * 32);
}

TEST(SphereTest, TooFewSectorsOrStacksGiveNothing)
{
    for (const auto& [sectors, stacks] : {std::pair{2u, 4u}, std::pair{8u, 2u}, std::pair{0u, 0u}})
    {
        const MeshData<PositionVertex> sphere = generateSphere(1.0f, sectors, stacks);
        EXPECT_TRUE(sphere.vertices.empty());
        EXPECT_TRUE(sphere.indices.empty());
    }
}
}
