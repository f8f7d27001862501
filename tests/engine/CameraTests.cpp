#include "engine/Camera.hpp"
#include "engine/CameraController.hpp"
#include "engine/ScreenMaths.hpp"
#include "engine/Settings.hpp"

#include <glm/gtc/matrix_access.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace
{
class CameraTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Settings::resetForTesting();
        Settings::setWindowSize(1600, 900);
    }
    void TearDown() override { Settings::resetForTesting(); }
};

template <typename Vector>
void expectNear(const Vector& actual, const Vector& expected)
{
    for (int i = 0; i < Vector::length(); ++i)
    {
        EXPECT_NEAR(actual[i], expected[i], 1e-5f) << "component " << i;
    }
}

TEST_F(CameraTest, ProjectionIsVulkansRightHandedZeroToOneWithYDown)
{
    Camera camera(std::numbers::pi_v<float> / 2.0f, 0.5f, 100.0f);
    const glm::mat4& projection = camera.getProjection();
    EXPECT_NEAR(projection[0][0], 0.5625f, 1e-6f);
    EXPECT_NEAR(projection[1][1], -1.0f, 1e-6f);
    EXPECT_EQ(projection[2][3], -1.0f);
    EXPECT_EQ(projection[3][3], 0.0f);
    // A point on the near plane has depth 0 and one on the far plane depth 1.
    const glm::vec4 nearPoint = projection * glm::vec4(0.0f, 0.0f, -0.5f, 1.0f);
    const glm::vec4 farPoint = projection * glm::vec4(0.0f, 0.0f, -100.0f, 1.0f);
    EXPECT_NEAR(nearPoint.z / nearPoint.w, 0.0f, 1e-6f);
    EXPECT_NEAR(farPoint.z / farPoint.w, 1.0f, 1e-6f);
}

TEST_F(CameraTest, ViewLooksFromThePositionAtTheTarget)
{
    Camera camera(1.0f, 0.1f, 100.0f);
    // Default: at (0, 0, 10) looking at the origin, so the origin is 10 ahead.
    expectNear(camera.getView() * glm::vec4(0.0f, 0.0f, 0.0f, 1.0f), glm::vec4(0.0f, 0.0f, -10.0f, 1.0f));

    camera.setPosition(glm::vec3(5.0f, 0.0f, 0.0f));
    camera.setTarget(glm::vec3(5.0f, 0.0f, -1.0f));
    camera.updateMatrices();
    expectNear(camera.getView() * glm::vec4(5.0f, 2.0f, -3.0f, 1.0f), glm::vec4(0.0f, 2.0f, -3.0f, 1.0f));
    expectNear(glm::row(camera.getViewProjection(), 0), glm::row(camera.getProjection() * camera.getView(), 0));
}

TEST_F(CameraTest, ControllerTurnsWithTheMouseStopsShortOfStraightUpAndMovesAlongItsView)
{
    CameraController controller(1.0f, 0.1f, 100.0f);
    // Half the window to the right turns the yaw by 0.15 radians.
    controller.update(glm::vec2(800.0f, 450.0f), glm::vec3(0.0f), 0.0f);
    controller.update(glm::vec2(1600.0f, 450.0f), glm::vec3(0.0f), 0.0f);
    expectNear(glm::normalize(controller.getTarget() - controller.getPosition()),
               glm::vec3(-std::sin(0.15f), 0.0f, std::cos(0.15f)));
    controller.update(glm::vec2(1600.0f, -100000.0f), glm::vec3(0.0f), 0.0f);
    EXPECT_NEAR(glm::normalize(controller.getTarget() - controller.getPosition()).y, std::sin(1.56f), 1e-5f);

    // The move is taken from the position before the update: 20 units per second.
    CameraController mover(1.0f, 0.1f, 100.0f);
    mover.update(glm::vec2(800.0f, 450.0f), glm::vec3(0.0f, 0.0f, 1.0f), 0.5f);
    EXPECT_NEAR(mover.getPosition().z, -10.0f, 1e-5f);
    EXPECT_NEAR(mover.getTarget().z, 10.0f, 1e-5f);
    // Right of a camera looking along +Z is -X; up is up.
    mover.update(glm::vec2(800.0f, 450.0f), glm::vec3(1.0f, 1.0f, 0.0f), 0.5f);
    expectNear(mover.getPosition(), glm::vec3(-10.0f, 10.0f, -10.0f));
}

TEST_F(CameraTest, ScreenProjectionMapsPixelsToClipSpace)
{
    const glm::mat4 projection = screenProjection();
    expectNear(projection * glm::vec4(1600.0f, 900.0f, 0.0f, 1.0f), glm::vec4(1.0f, 1.0f, 1.0f, 1.0f));
    expectNear(projection * glm::vec4(800.0f, 450.0f, 0.25f, 1.0f), glm::vec4(0.0f, 0.0f, 0.75f, 1.0f));
}

TEST(QuaternionTest, RotatesAboutXThenMinusZThenY)
{
    const glm::vec3 x(1.0f, 0.0f, 0.0f);
    expectNear(quaternionFromEulerDegrees(0.0f, 0.0f, 90.0f) * x, glm::vec3(0.0f, 0.0f, -1.0f));
    expectNear(quaternionFromEulerDegrees(0.0f, 90.0f, 0.0f) * x, glm::vec3(0.0f, -1.0f, 0.0f));
    // X first: (0, 1, 0) goes to (0, 0, 1), which the Y turn then takes to (1, 0, 0).
    expectNear(quaternionFromEulerDegrees(90.0f, 0.0f, 90.0f) * glm::vec3(0.0f, 1.0f, 0.0f), x);
}

TEST(Utf32Test, DecodesValidTextAndReplacesMalformedSequences)
{
    EXPECT_EQ(toUtf32("Lap 1/3"), U"Lap 1/3");
    EXPECT_EQ(toUtf32("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8F\x86"), U"\u00E9\u20AC\U0001F3C6");
    EXPECT_EQ(toUtf32(std::string("a\0b", 3)), std::u32string(U"a\0b", 3));
    EXPECT_EQ(toUtf32("\xF4\x8F\xBF\xBF"), U"\U0010FFFF");
    // Overlong forms, a surrogate and a value above U+10FFFF.
    EXPECT_EQ(toUtf32("\xC0\xAF"), U"\uFFFD\uFFFD");
    EXPECT_EQ(toUtf32("\xE0\x80\xAF"), U"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(toUtf32("\xED\xA0\x80"), U"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(toUtf32("\xF4\x90\x80\x80"), U"\uFFFD\uFFFD\uFFFD\uFFFD");
    // Truncated sequences, at the end and before a plain character; bytes that never occur.
    EXPECT_EQ(toUtf32("a\xE2\x82"), U"a\uFFFD");
    EXPECT_EQ(toUtf32("\xE2\x82z"), U"\uFFFDz");
    EXPECT_EQ(toUtf32("\x80x\xFF"), U"\uFFFDx\uFFFD");
}
}
