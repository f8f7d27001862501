#include "graphics/Sphere.hpp"

#include <glm/geometric.hpp>
#include <gtest/gtest.h>

#include <algorithm>

namespace
{
TEST(SphereTest, VerticesLieOnTheSphereAndEveryTriangleIsInRangeAndFacesOutwardCounterClockwise)
{
    const float radius = 108.0f;
    const MeshData<PositionVertex> sphere = generateSphere(radius, 32, 16);
    ASSERT_EQ(sphere.vertices.size(), 17u * 33u);
    ASSERT_EQ(sphere.indices.size(), 16u * 32u * 6u);
    for (const PositionVertex& vertex : sphere.vertices)
    {
        EXPECT_NEAR(glm::length(vertex.position), radius, 1e-3f);
    }
    int degenerate = 0;
    for (std::size_t t = 0; t < sphere.indices.size(); t += 3)
    {
        ASSERT_LT(std::max({sphere.indices[t], sphere.indices[t + 1], sphere.indices[t + 2]}), sphere.vertices.size());
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
        EXPECT_TRUE(sphere.vertices.empty() && sphere.indices.empty());
    }
}
}
