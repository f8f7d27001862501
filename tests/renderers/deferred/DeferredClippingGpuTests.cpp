#include "engine/Log.hpp"
#include "renderers/deferred/DeferredScene.hpp"
#include "renderers/deferred/OceanSphere.hpp"

#include <fmt/format.h>
#include <glm/gtc/packing.hpp>

#include <cmath>
#include <limits>

// What the passes leave out because it cannot be seen: the ocean's far side,
// what lies under the sea, the lights that cannot reach the view; and that
// they never leave out what can.
namespace
{
using namespace deferred_scene;

// What one pass of the next frames shades and assembles, counted between the
// renderer's pass hooks around it.
class PassStatistics
{
public:
    PassStatistics(GraphicsSystem& system, DeferredRenderer& renderer, PassKind kind)
        : system(system), renderer(renderer)
    {
        const std::vector<FramePass> passes = framePasses(renderer.blurIterations);
        const auto found = std::find_if(passes.begin(), passes.end(),
                                        [kind](const FramePass& pass) { return pass.kind == kind; });
        const auto first = static_cast<std::size_t>(found - passes.begin());
        VkQueryPoolCreateInfo poolInfo{};
        poolInfo.sType = VK_STRUCTURE_TYPE_QUERY_POOL_CREATE_INFO;
        poolInfo.queryType = VK_QUERY_TYPE_PIPELINE_STATISTICS;
        poolInfo.queryCount = 1;
        poolInfo.pipelineStatistics =
            VK_QUERY_PIPELINE_STATISTIC_INPUT_ASSEMBLY_PRIMITIVES_BIT | VK_QUERY_PIPELINE_STATISTIC_FRAGMENT_SHADER_INVOCATIONS_BIT;
        if (vkCreateQueryPool(system.logicalDevice.device, &poolInfo, nullptr, &queries) != VK_SUCCESS)
        {
            queries = VK_NULL_HANDLE;
            return;
        }
        renderer.passHook = [this, first](VkCommandBuffer commandBuffer, std::size_t passesRecorded) {
            if (passesRecorded == first)
            {
                vkCmdResetQueryPool(commandBuffer, queries, 0, 1);
                vkCmdBeginQuery(commandBuffer, queries, 0, 0);
            }
            else if (passesRecorded == first + 1)
            {
                vkCmdEndQuery(commandBuffer, queries, 0);
            }
        };
    }

    ~PassStatistics()
    {
        renderer.passHook = {};
        if (queries != VK_NULL_HANDLE)
        {
            vkDestroyQueryPool(system.logicalDevice.device, queries, nullptr);
        }
    }

    PassStatistics(const PassStatistics&) = delete;
    PassStatistics& operator=(const PassStatistics&) = delete;

    bool ready() const { return queries != VK_NULL_HANDLE; }

    // Of the last frame drawn, which the device has finished.
    std::uint64_t primitives() const { return read()[0]; }
    std::uint64_t fragments() const { return read()[1]; }

private:
    std::array<std::uint64_t, 2> read() const
    {
        std::array<std::uint64_t, 2> counts{};
        EXPECT_EQ(vkGetQueryPoolResults(system.logicalDevice.device, queries, 0, 1, sizeof(counts), counts.data(),
                                        sizeof(counts), VK_QUERY_RESULT_64_BIT | VK_QUERY_RESULT_WAIT_BIT),
                  VK_SUCCESS);
        return counts;
    }

    GraphicsSystem& system;
    DeferredRenderer& renderer;
    VkQueryPool queries = VK_NULL_HANDLE;
};

bool statisticsQueries(GraphicsSystem& system)
{
    VkPhysicalDeviceFeatures features{};
    vkGetPhysicalDeviceFeatures(system.physicalDeviceInfo.physicalDevice, &features);
    return features.pipelineStatisticsQuery == VK_TRUE;
}

// The least distance of a face plane of the sphere mesh from its centre: a
// ray that meets the sphere of this radius surely meets the mesh.
float innerRadius(const MeshData<PositionVertex>& sphere)
{
    float least = std::numeric_limits<float>::max();
    for (std::size_t index = 0; index + 2 < sphere.indices.size(); index += 3)
    {
        const glm::vec3 a = sphere.vertices[sphere.indices[index]].position;
        const glm::vec3 b = sphere.vertices[sphere.indices[index + 1]].position;
        const glm::vec3 c = sphere.vertices[sphere.indices[index + 2]].position;
        const glm::vec3 normal = glm::cross(b - a, c - a);
        if (glm::length(normal) > 1e-6f * glm::length(a) * glm::length(a))
        {
            least = std::min(least, std::abs(glm::dot(glm::normalize(normal), a)));
        }
    }
    return least;
}

// The nearest face's direction from the centre, in the mesh's own axes.
glm::vec3 nearestFaceDirection(const MeshData<PositionVertex>& sphere)
{
    float least = std::numeric_limits<float>::max();
    glm::vec3 direction(0.0f);
    for (std::size_t index = 0; index + 2 < sphere.indices.size(); index += 3)
    {
        const glm::vec3 a = sphere.vertices[sphere.indices[index]].position;
        const glm::vec3 b = sphere.vertices[sphere.indices[index + 1]].position;
        const glm::vec3 c = sphere.vertices[sphere.indices[index + 2]].position;
        const glm::vec3 normal = glm::cross(b - a, c - a);
        if (glm::length(normal) < 1e-6f)
        {
            continue;
        }
        const glm::vec3 unit = glm::normalize(normal);
        const float distance = glm::dot(unit, a);
        if (std::abs(distance) < least)
        {
            least = std::abs(distance);
            direction = distance > 0.0f ? unit : -unit;
        }
    }
    return direction;
}

// The faces of the sphere mesh turned towards the eye, which is all of the
// mesh that can show from there.
MeshData<PositionVertex> facesTowards(const MeshData<PositionVertex>& sphere, const glm::vec3& eye)
{
    MeshData<PositionVertex> facing{sphere.vertices, {}};
    for (std::size_t index = 0; index + 2 < sphere.indices.size(); index += 3)
    {
        const glm::vec3 a = sphere.vertices[sphere.indices[index]].position;
        const glm::vec3 b = sphere.vertices[sphere.indices[index + 1]].position;
        const glm::vec3 c = sphere.vertices[sphere.indices[index + 2]].position;
        glm::vec3 outwards = glm::cross(b - a, c - a);
        outwards = glm::dot(outwards, a) < 0.0f ? -outwards : outwards;
        const bool eyeOutside = glm::dot(eye, eye) > glm::dot(a, a);
        if ((glm::dot(outwards, eye - a) > 0.0f) == eyeOutside)
        {
            facing.indices.insert(facing.indices.end(), sphere.indices.begin() + static_cast<std::ptrdiff_t>(index),
                                  sphere.indices.begin() + static_cast<std::ptrdiff_t>(index) + 3);
        }
    }
    return facing;
}

// Where the ray from `eye` along `direction` first meets the sphere of
// `radius` about the origin from where the eye is, or no distance.
std::optional<float> sphereHit(const glm::vec3& eye, const glm::vec3& direction, float radius)
{
    const float b = glm::dot(eye, direction);
    const float c = glm::dot(eye, eye) - radius * radius;
    const float discriminant = b * b - c;
    if (discriminant < 0.0f)
    {
        return std::nullopt;
    }
    const float distance = c > 0.0f ? -b - std::sqrt(discriminant) : -b + std::sqrt(discriminant);
    return distance > 0.0f ? std::optional<float>(distance) : std::nullopt;
}

// The renderer up with flat materials, and what the point-light pass draws
// counted.
class PointLightPassTest : public DeferredRendererTest
{
protected:
    void SetUp() override
    {
        DeferredRendererTest::SetUp();
        ASSERT_TRUE(statisticsQueries(system)) << "the driver counts no assembled primitives";
        ASSERT_TRUE(bringUp());
        ASSERT_TRUE(useFlatMaterials());
        lights.emplace(system, *renderer, PassKind::pointLights);
        ASSERT_TRUE(lights->ready());
    }

    void TearDown() override
    {
        lights.reset();
        DeferredRendererTest::TearDown();
    }

    std::optional<PassStatistics> lights;
    const std::uint64_t facesPerLight = generateSphere(3.0f, 8, 4).indices.size() / 3;
};

// From 2 above the sea towards the water 25 ahead, the horizon in view.
glm::mat4 overTheSea()
{
    return glm::lookAt(glm::vec3(0.0f, oceanRadius + 2.0f, 0.0f), glm::vec3(0.0f, oceanRadius + 0.5f, -25.0f),
                       glm::vec3(0, 1, 0));
}

// Just above the water 40 degrees round the planet: in the view volume of
// overTheSea, but beyond its horizon.
glm::vec3 beyondTheHorizon()
{
    const float round = glm::radians(40.0f);
    return {0.0f, oceanRadius * std::cos(round) + 0.5f, -oceanRadius * std::sin(round)};
}

float halfAt(const std::vector<std::uint8_t>& bytes, std::size_t offset)
{
    std::uint16_t half = 0;
    std::memcpy(&half, &bytes.at(offset), sizeof(half));
    return glm::unpackHalf1x16(half);
}

// Every pixel whose ray meets the water shows it at the near surface, every
// other shows nothing, from just above the sea (a chase camera's horizon),
// from afar (the attract camera's planet) and from inside the sphere; and the
// pass shades hardly more than the faces turned to the eye would, so the far
// side never reaches the fragment stage. (A software driver shades a small
// block of pixels for every face that touches it, so the count is compared
// with those faces drawn alone rather than with the pixels.)
TEST_F(DeferredRendererTest, TheOceanIsShadedWhereItsNearSideShowsAndNowhereElse)
{
    ASSERT_TRUE(statisticsQueries(system)) << "the driver counts no shaded fragments";
    ASSERT_TRUE(bringUp());
    ASSERT_TRUE(useFlatMaterials());
    PassStatistics ocean(system, *renderer, PassKind::ocean);
    ASSERT_TRUE(ocean.ready());
    const MeshData<PositionVertex> sphere = generateSphere(oceanRadius, oceanSegments, oceanRings);
    const float inner = innerRadius(sphere);
    ASSERT_GT(inner, oceanRadius - 0.05f);
    Mesh* const wholeSphere = renderer->oceanMesh;

    // Straight at the horizon from 2 above the sea, through a narrow lens that
    // spreads the faces just beyond it over many pixels; the band kept beyond
    // the horizon then covers more of the picture than elsewhere.
    const float dip = std::acos(oceanRadius / (oceanRadius + 2.0f));
    const struct
    {
        const char* from;
        glm::vec3 eye;
        glm::vec3 target;
        float fieldOfView;
        float shadedBeyondFacing;
    } eyes[] = {
        {"just above the sea", {0.0f, oceanRadius + 2.0f, 0.0f}, {0.0f, oceanRadius + 0.5f, -25.0f}, 45.0f, 1.25f},
        {"at the horizon", {0.0f, oceanRadius + 2.0f, 0.0f},
         {0.0f, oceanRadius + 2.0f - 30.0f * std::sin(dip), -30.0f * std::cos(dip)}, 1.0f, 1.5f},
        {"a little higher, looking across", {10.0f, oceanRadius + 6.0f, 5.0f}, {-30.0f, oceanRadius, -40.0f}, 45.0f,
         1.25f},
        {"afar", {40.0f, 30.0f, 310.0f}, {0.0f, 0.0f, 0.0f}, 45.0f, 1.25f},
        {"inside", {0.0f, 50.0f, 0.0f}, {30.0f, 60.0f, -40.0f}, 45.0f, 1.25f},
    };
    for (const auto& entry : eyes)
    {
        view = glm::lookAt(entry.eye, entry.target, glm::vec3(0, 1, 0));
        projection = glm::perspectiveRH_ZO(glm::radians(entry.fieldOfView), float(width) / float(height), 0.1f, 500.0f);
        projection[1][1] = -projection[1][1];
        drawFrame({});
        ASSERT_FALSE(hasErrors()) << entry.from;
        const std::vector<std::uint8_t> normals = readTarget(renderer->gBufferTarget1);
        const std::vector<std::uint8_t> depths = readTarget(renderer->gBufferTarget2, 2);
        const glm::mat4 inverse = glm::inverse(projection * view);
        const glm::vec3 forward = glm::normalize(entry.target - entry.eye);
        std::size_t water = 0;
        std::size_t wrong = 0;
        std::string example;
        for (std::uint32_t y = 0; y < height; ++y)
        {
            for (std::uint32_t x = 0; x < width; ++x)
            {
                const glm::vec2 ndc = (glm::vec2(x, y) + 0.5f) / glm::vec2(width, height) * 2.0f - 1.0f;
                const glm::vec4 far = inverse * glm::vec4(ndc, 1.0f, 1.0f);
                const glm::vec3 ray = glm::normalize(glm::vec3(far) / far.w - entry.eye);
                const float kind = halfAt(normals, (y * width + x) * 8 + 6);
                const float depth = halfAt(depths, (y * width + x) * 2);
                water += kind == 2.0f ? 1 : 0;
                const std::optional<float> surely = sphereHit(entry.eye, ray, inner);
                const std::optional<float> square = sphereHit(entry.eye, ray, oceanRadius - 0.5f);
                const bool missed = !sphereHit(entry.eye, ray, oceanRadius);
                // Grazing rays meet the faces far from where they meet the
                // sphere; steeper ones (those that reach well below it) do not.
                const std::optional<float> expected = sphereHit(entry.eye, ray, oceanRadius);
                const float expectedDepth = expected ? *expected * glm::dot(ray, forward) : 0.0f;
                const bool bad = (surely && kind != 2.0f) || (missed && kind != 0.0f) ||
                                 (square && std::abs(depth - expectedDepth) > 0.02f * expectedDepth + 0.05f);
                if (bad && wrong++ == 0)
                {
                    example = fmt::format("pixel ({}, {}): surface {}, depth {} where {} was expected", x, y, kind,
                                          depth, expectedDepth);
                }
            }
        }
        EXPECT_EQ(wrong, 0u) << entry.from << ": " << example;
        EXPECT_GT(water, 0u) << entry.from;

        const std::uint64_t shaded = ocean.fragments();
        const std::optional<Mesh*> facing = createMesh(sceneMeshes, facesTowards(sphere, entry.eye));
        ASSERT_TRUE(facing.has_value());
        renderer->oceanMesh = *facing;
        drawFrame({});
        renderer->oceanMesh = wholeSphere;
        EXPECT_LE(double(shaded), double(ocean.fragments()) * entry.shadedBeyondFacing) << entry.from;
    }
}

// The sea bed and a post's foot under the surface cost the geometry pass
// nothing seen from above, while the post's top just clear of the water is
// drawn; from under the surface everything is drawn.
TEST_F(DeferredRendererTest, SeenFromAboveTheSeaWhatLiesUnderItIsLeftUnshaded)
{
    ASSERT_TRUE(statisticsQueries(system)) << "the driver counts no shaded fragments";
    ASSERT_TRUE(bringUp());
    ASSERT_TRUE(useFlatMaterials());
    PassStatistics geometry(system, *renderer, PassKind::geometry);
    ASSERT_TRUE(geometry.ready());
    const glm::mat4 bedScale = glm::scale(glm::mat4(1.0f), glm::vec3(100.0f));
    const InstancedMesh* seaBed = addModel(modelSphere(), bedScale);
    // From 0.2 under the surface to 0.6 above it.
    const InstancedMesh* post = addModel(box({0.0f, oceanRadius + 0.2f, 0.0f}, 0.4f));
    const InstancedMesh* sunken = addModel(box({0.0f, oceanRadius - 1.0f, 0.0f}, 0.4f));
    ASSERT_TRUE(seaBed != nullptr && post != nullptr && sunken != nullptr);
    const ModelMaterial grey = flatMaterial(glm::vec3(0.6f), 0.8f, 0.0f);

    view = glm::lookAt(glm::vec3(0.0f, oceanRadius + 1.5f, 3.0f), glm::vec3(0.0f, oceanRadius, 0.0f),
                       glm::vec3(0, 1, 0));
    drawFrame({{post, grey}});
    const std::uint64_t postAlone = geometry.fragments();
    EXPECT_GT(postAlone, 0u);
    drawFrame({{seaBed, grey}, {sunken, grey}, {post, grey}});
    EXPECT_EQ(geometry.fragments(), postAlone);
    const std::vector<std::uint8_t> normals = readTarget(renderer->gBufferTarget1);
    const glm::ivec2 clear = pixelOf({0.0f, oceanRadius + 0.1f, 0.4f});
    EXPECT_EQ(halfAt(normals, (clear.y * width + clear.x) * 8 + 6), 1.0f) << "the post just above the water";

    // Under the surface the sunken box is in view and drawn.
    view = glm::lookAt(glm::vec3(0.0f, oceanRadius - 1.0f, 3.0f), glm::vec3(0.0f, oceanRadius - 1.0f, 0.0f),
                       glm::vec3(0, 1, 0));
    drawFrame({{sunken, grey}});
    EXPECT_GT(geometry.fragments(), 0u);
    const glm::ivec2 centre = pixelOf({0.0f, oceanRadius - 1.0f, 0.4f});
    EXPECT_EQ(halfAt(readTarget(renderer->gBufferTarget1), (centre.y * width + centre.x) * 8 + 6), 1.0f);
    EXPECT_FALSE(hasErrors());
}

// A light whose centre is out of view still lights the wall its reach
// touches, one whose reach cannot touch the view is not drawn at all, and the
// light's sphere covers every pixel where a surface lies within its radius,
// the face of the coarse mesh nearest its centre included.
TEST_F(PointLightPassTest, ALightIsDrawnWhereverItsReachShowsAndNotWhereItCannot)
{
    renderer->setOceanDisabled(true);
    MeshData<ModelVertex> wallMesh;
    addQuad(wallMesh, {}, {20, 0, 0}, {0, 20, 0});
    const InstancedMesh* wall = addModel(wallMesh);
    ASSERT_NE(wall, nullptr);
    const ModelMaterial white = flatMaterial(glm::vec3(1.0f), 0.9f, 0.0f);
    const MeshData<PositionVertex> lightSphere = generateSphere(3.0f, 8, 4);

    // 45 degrees up and about 60 across from (0, 0, 6): the view's left edge
    // meets the wall near x = -3.2.
    view = glm::lookAt(glm::vec3(0, 0, 6), glm::vec3(0), glm::vec3(0, 1, 0));
    const glm::vec3 besideTheView(-4.5f, 0.0f, 0.5f);
    ASSERT_LT(pixelOf(besideTheView).x, 0) << "the light's centre lies out of view";
    ASSERT_EQ(renderer->addPointLight(besideTheView, glm::vec3(1.0f), 2.0f), 0);
    ASSERT_EQ(renderer->addPointLight({0.0f, 0.0f, 12.0f}, glm::vec3(1.0f), 2.0f), 1) << "behind the eye";
    drawFrame({{wall, white}});
    EXPECT_EQ(lights->primitives(), facesPerLight);
    const std::vector<std::uint8_t> lit = readTarget(renderer->pointLightTarget);
    const glm::ivec2 edge = pixelOf({-3.1f, 0.0f, 0.0f});
    ASSERT_GE(edge.x, 0);
    EXPECT_GT(halfPixel(lit, width, edge).r, 0.0f) << "the wall at the view's edge, within the light's reach";
    EXPECT_EQ(halfPixel(lit, width, pixelOf({0.0f, 0.0f, 0.0f})), glm::vec3(0.0f)) << "beyond its reach";

    ASSERT_TRUE(renderer->setPointLight({0.0f, 0.0f, 1.0f}, glm::vec3(1.0f), 2.0f, 1));
    drawFrame({{wall, white}});
    EXPECT_EQ(lights->primitives(), 2 * facesPerLight);

    // A light beside a small panel that faces both the eye and the light; the
    // eye sees the panel across the light's nearest face, 0.97 of the radius
    // from the centre, so that only a sphere that covers the whole reach
    // reaches this pixel.
    const glm::vec3 towardsFace = nearestFaceDirection(lightSphere);
    const glm::vec3 across = glm::normalize(glm::cross(towardsFace, glm::vec3(0.3f, 0.5f, 0.8f)));
    const float radius = 2.0f;
    const glm::vec3 light(0.0f, 0.0f, -20.0f);
    const glm::vec3 panelCentre = light + 0.97f * radius * towardsFace;
    const glm::vec3 facing = glm::normalize(-across - towardsFace);
    MeshData<ModelVertex> panelMesh;
    const glm::vec3 side = glm::normalize(glm::cross(facing, towardsFace)) * 0.05f;
    addQuad(panelMesh, panelCentre, side, glm::cross(facing, side));
    const InstancedMesh* panel = addModel(panelMesh);
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(renderer->setPointLight(light, glm::vec3(1.0f), radius, 0));
    ASSERT_TRUE(renderer->setPointLight({0.0f, 0.0f, 40.0f}, glm::vec3(1.0f), 2.0f, 1));
    view = glm::lookAt(panelCentre - 4.0f * across, panelCentre, towardsFace);
    drawFrame({{panel, white}});
    const glm::ivec2 panelPixel = pixelOf(panelCentre);
    EXPECT_GT(halfAt(readTarget(renderer->gBufferTarget1), (panelPixel.y * width + panelPixel.x) * 8 + 6), 0.5f)
        << "the panel is in view";
    EXPECT_GT(halfPixel(readTarget(renderer->pointLightTarget), width, panelPixel).r, 0.0f);
    EXPECT_FALSE(hasErrors());
}

// From just above the sea, a light on the water this side of the horizon is
// drawn and lights it; one beyond the horizon, in the view's volume but under
// the sea's curve, is left out, unless there is no sea to hide it.
TEST_F(PointLightPassTest, ALightBeyondTheSeasHorizonIsLeftOutAndOneThisSideLightsTheWater)
{
    const glm::vec3 beyond = beyondTheHorizon();
    const glm::vec3 water(0.0f, std::sqrt(oceanRadius * oceanRadius - 100.0f), -10.0f);
    ASSERT_EQ(renderer->addPointLight(water + glm::vec3(0.0f, 1.0f, 0.0f), glm::vec3(1.0f), 4.0f), 0);
    ASSERT_EQ(renderer->addPointLight(beyond, glm::vec3(1.0f), 3.0f), 1);
    view = overTheSea();
    const glm::ivec2 waterPixel = pixelOf(water);
    const glm::ivec2 beyondPixel = pixelOf(beyond);
    ASSERT_TRUE(waterPixel.y >= 0 && waterPixel.y < int(height) && beyondPixel.y >= 0 && beyondPixel.y < int(height))
        << "both lights' centres lie in the view";

    renderer->setOceanDisabled(false);
    drawFrame({});
    EXPECT_EQ(lights->primitives(), facesPerLight);
    EXPECT_GT(halfPixel(readTarget(renderer->pointLightTarget), width, waterPixel).r, 0.0f);

    renderer->setOceanDisabled(true);
    drawFrame({});
    EXPECT_EQ(lights->primitives(), 2 * facesPerLight);
    EXPECT_FALSE(hasErrors());
}

// The volume view (F10 once) draws each light's volume itself, 1.16 times its
// radius and over everything: a light whose radius lies just beside the view
// while its volume reaches into it, and one beyond the sea's horizon, both
// left out of the shaded view, are drawn there.
TEST_F(PointLightPassTest, TheVolumeViewDrawsEveryLightWhoseVolumeReachesTheView)
{
    // The one light is left out of the shaded view, and drawn in the volume
    // view, where the pixel shows its volume's colour.
    const auto onlyItsVolumeShowsAt = [this](const glm::ivec2& pixel) {
        renderer->pointLightMode = 0;
        drawFrame({});
        EXPECT_EQ(lights->primitives(), 0u);
        renderer->nextPointLightMode();
        drawFrame({});
        EXPECT_EQ(lights->primitives(), facesPerLight);
        EXPECT_NEAR(halfPixel(readTarget(renderer->pointLightTarget), width, pixel).r, 0.05f, 0.001f);
    };

    // Down -z through a narrow lens, whose left side plane is tilted by only
    // 13 degrees: a light 1.09 radii to the left of it along x lies 1.06
    // radii from it, while its volume's vertex on +x reaches 0.07 radii in.
    renderer->setOceanDisabled(true);
    const float halfAcross = std::atan(std::tan(glm::radians(10.0f)) * float(width) / float(height));
    projection = glm::perspectiveRH_ZO(glm::radians(20.0f), float(width) / float(height), 0.1f, 500.0f);
    projection[1][1] = -projection[1][1];
    view = glm::lookAt(glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, -1.0f), glm::vec3(0, 1, 0));
    const float radius = 4.0f;
    const glm::vec3 beside(-10.0f * std::tan(halfAcross) - 1.09f * radius, 0.0f, -10.0f);
    ASSERT_GT(1.09f * std::cos(halfAcross), 1.0f) << "the radius lies wholly outside the view";
    ASSERT_EQ(renderer->addPointLight(beside, glm::vec3(1.0f), radius), 0);
    const glm::ivec2 reachedIn = pixelOf(beside + glm::vec3(1.16f * radius - 0.1f, 0.0f, 0.0f));
    ASSERT_GE(reachedIn.x, 0);
    onlyItsVolumeShowsAt(reachedIn);

    // From just above the sea, a light beyond its horizon.
    renderer->setOceanDisabled(false);
    projection = glm::perspectiveRH_ZO(glm::radians(45.0f), float(width) / float(height), 0.1f, 500.0f);
    projection[1][1] = -projection[1][1];
    view = overTheSea();
    const glm::vec3 beyond = beyondTheHorizon();
    ASSERT_TRUE(renderer->setPointLight(beyond, glm::vec3(1.0f), 3.0f, 0));
    const glm::ivec2 beyondPixel = pixelOf(beyond);
    ASSERT_TRUE(beyondPixel.y >= 0 && beyondPixel.y < int(height)) << "the light's centre lies in the view";
    onlyItsVolumeShowsAt(beyondPixel);
    EXPECT_FALSE(hasErrors());
}
}
