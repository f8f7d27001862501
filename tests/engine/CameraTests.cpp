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

void expectNear(const glm::vec4& actual, const glm::vec4& expected, float tolerance = 1e-5f)
{
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "component " << i;
    }
}

TEST_F(CameraTest, ProjectionIsVulkansRightHandedZeroToOneWithYDown)
{
    const float nearPlane = 0.5f;
    const float farPlane = 100.0f;
    Camera camera(std::numbers::pi_v<float> / 2.0f, nearPlane, farPlane);
    const glm::mat4& projection = camera.getProjection();
    EXPECT_NEAR(projection[0][0], 0.5625f, 1e-6f);
    EXPECT_NEAR(projection[1][1], -1.0f, 1e-6f);
    EXPECT_EQ(projection[2][3], -1.0f);
    EXPECT_EQ(projection[3][3], 0.0f);

    // A point on the near plane has depth 0 and one on the far plane depth 1.
    const glm::vec4 nearPoint = projection * glm::vec4(0.0f, 0.0f, -nearPlane, 1.0f);
    const glm::vec4 farPoint = projection * glm::vec4(0.0f, 0.0f, -farPlane, 1.0f);
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

TEST_F(CameraTest, ControllerTurnsWithTheMouseAndMovesAlongItsView)
{
    CameraController controller(1.0f, 0.1f, 100.0f);
    // Half the window to the right turns the yaw by 0.15 radians.
    controller.update(glm::vec2(800.0f, 450.0f), glm::vec3(0.0f), 0.0f);
    controller.update(glm::vec2(1600.0f, 450.0f), glm::vec3(0.0f), 0.0f);
    const glm::vec3 direction = glm::normalize(controller.getTarget() - controller.getPosition());
    EXPECT_NEAR(direction.x, -std::sin(0.15f), 1e-5f);
    EXPECT_NEAR(direction.z, std::cos(0.15f), 1e-5f);

    // Moving far up stops the pitch at 1.56 radians.
    controller.update(glm::vec2(1600.0f, -100000.0f), glm::vec3(0.0f), 0.0f);
    const glm::vec3 up = glm::normalize(controller.getTarget() - controller.getPosition());
    EXPECT_NEAR(up.y, std::sin(1.56f), 1e-5f);

    // The move is taken from the position before the update: 20 units per second.
    CameraController mover(1.0f, 0.1f, 100.0f);
    mover.update(glm::vec2(800.0f, 450.0f), glm::vec3(0.0f, 0.0f, 1.0f), 0.5f);
    EXPECT_NEAR(mover.getPosition().z, -10.0f, 1e-5f);
    EXPECT_NEAR(mover.getTarget().z, 10.0f, 1e-5f);
}

TEST_F(CameraTest, ScreenProjectionMapsPixelsToClipSpace)
{
    const glm::mat4 projection = screenProjection();
    expectNear(projection * glm::vec4(1600.0f, 900.0f, 0.0f, 1.0f), glm::vec4(1.0f, 1.0f, 1.0f, 1.0f));
    expectNear(projection * glm::vec4(0.0f, 0.0f, 0.0f, 1.0f), glm::vec4(-1.0f, -1.0f, 1.0f, 1.0f));
    expectNear(projection * glm::vec4(800.0f, 450.0f, 0.25f, 1.0f), glm::vec4(0.0f, 0.0f, 0.75f, 1.0f));
}

TEST(QuaternionTest, RotatesAboutXThenMinusZThenY)
{
    const glm::vec3 turned = quaternionFromEulerDegrees(0.0f, 0.0f, 90.0f) * glm::vec3(1.0f, 0.0f, 0.0f);
    EXPECT_NEAR(turned.x, 0.0f, 1e-6f);
    EXPECT_NEAR(turned.z, -1.0f, 1e-6f);

    const glm::vec3 rolled = quaternionFromEulerDegrees(0.0f, 90.0f, 0.0f) * glm::vec3(1.0f, 0.0f, 0.0f);
    EXPECT_NEAR(rolled.y, -1.0f, 1e-6f);

    // X first: (0, 1, 0) goes to (0, 0, 1), which the Y turn then takes to (1, 0, 0).
    const glm::vec3 both = quaternionFromEulerDegrees(90.0f, 0.0f, 90.0f) * glm::vec3(0.0f, 1.0f, 0.0f);
    EXPECT_NEAR(both.x, 1.0f, 1e-6f);
    EXPECT_NEAR(both.y, 0.0f, 1e-6f);
}

TEST(Utf32Test, DecodesValidTextAndReplacesMalformedSequences)
{
    EXPECT_EQ(toUtf32("Lap 1/3"), U"Lap 1/3");
    EXPECT_EQ(toUtf32("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8F\x86"), U"\u00E9\u20AC\U0001F3C6");
    EXPECT_EQ(toUtf32(std::string("a\0b", 3)), std::u32string(U"a\0b", 3));
    EXPECT_EQ(toUtf32("\xF4\x8F\xBF\xBF"), U"\U0010FFFF");

    // Overlong forms.
    EXPECT_EQ(toUtf32("\xC0\xAF"), U"\uFFFD\uFFFD");
    EXPECT_EQ(toUtf32("\xE0\x80\xAF"), U"\uFFFD\uFFFD\uFFFD");
    // A surrogate and a value above U+10FFFF.
    EXPECT_EQ(toUtf32("\xED\xA0\x80"), U"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(toUtf32("\xF4\x90\x80\x80"), U"\uFFFD\uFFFD\uFFFD\uFFFD");
    // Truncated sequences, at the end and before a plain character.
    EXPECT_EQ(toUtf32("a\xE2\x82"), U"a\uFFFD");
    EXPECT_EQ(toUtf32("\xE2\x82z"), U"\uFFFDz");
    // A lone continuation byte and bytes that never occur.
    EXPECT_EQ(toUtf32("\x80x\xFF"), U"\uFFFDx\uFFFD");
}
}
