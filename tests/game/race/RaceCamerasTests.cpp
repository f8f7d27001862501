#include "game/race/RaceCameras.hpp"

#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include <cmath>

namespace
{
bool isFinite(const glm::mat4& matrix)
{
    for (int column = 0; column < 4; ++column)
    {
        for (int row = 0; row < 4; ++row)
        {
            if (!std::isfinite(matrix[column][row]))
            {
                return false;
            }
        }
    }
    return true;
}

glm::mat4 viewOf(const CameraView& view)
{
    return glm::lookAtRH(view.position, view.target, view.up);
}

void expectNear(const glm::vec3& actual, const glm::vec3& expected)
{
    EXPECT_NEAR(glm::distance(actual, expected), 0.0f, 1e-3f) << actual.x << ", " << actual.y << ", " << actual.z;
}

const glm::vec2 window(1280.0f, 720.0f);
const glm::vec3 boat(0.0f, 100.3f, 0.0f);

TEST(ChaseCameraTest, StandsBehindTheBoatAtTheCentreOrbitsItAndNeverDipsBelowIt)
{
    const ChaseShot centred = chaseCamera({boat, glm::vec3(0.0f, 0.0f, 1.0f), window * 0.5f, window, glm::vec3(0.0f)});
    // The boat heads along +Z: the eye stands 8 units behind it, level with it.
    expectNear(centred.side, glm::vec3(-1.0f, 0.0f, 0.0f));
    expectNear(centred.view.position, boat - glm::vec3(0.0f, 0.0f, 8.0f));
    expectNear(centred.view.target, boat);
    expectNear(centred.view.up, glm::vec3(0.0f, 1.0f, 0.0f));

    // Nose up a ramp, the eye stays level behind the heading.
    const glm::vec3 climbing = glm::normalize(glm::vec3(0.0f, 1.0f, 1.0f));
    expectNear(chaseCamera({boat, climbing, window * 0.5f, window, glm::vec3(0.0f)}).view.position,
               boat - glm::vec3(0.0f, 0.0f, 8.0f));

    // A quarter turn of the cursor to the right (pi/2 window widths) swings the
    // eye round to the boat's left (+X), so that the view turns right.
    const glm::vec2 quarterRight = window * 0.5f + glm::vec2(window.x * 1.5707964f, 0.0f);
    expectNear(chaseCamera({boat, glm::vec3(0.0f, 0.0f, 1.0f), quarterRight, window, glm::vec3(0.0f)}).view.position,
               boat + glm::vec3(8.0f, 0.0f, 0.0f));

    for (const float y : {0.0f, 100.0f, 359.0f, 500.0f, 720.0f, 5000.0f})
    {
        const ChaseShot shot =
            chaseCamera({boat, glm::vec3(0.0f, 0.0f, 1.0f), glm::vec2(300.0f, y), window, glm::vec3(0.0f)});
        EXPECT_GE(shot.view.position.y, boat.y - 1e-4f) << y;
        EXPECT_NEAR(glm::distance(shot.view.position, boat), 8.0f, 1e-3f) << y;
        EXPECT_TRUE(isFinite(viewOf(shot.view))) << y;
    }
}

TEST(ChaseCameraTest, ABoatPointingStraightUpKeepsThePreviousSide)
{
    const ChaseShot level = chaseCamera({boat, glm::vec3(0.0f, 0.0f, 1.0f), window * 0.5f, window, glm::vec3(0.0f)});
    // Off a ramp, nose to the sky: forward is parallel to up.
    const ChaseShot climbing = chaseCamera({boat, glm::vec3(0.0f, 1.0f, 0.0f), window * 0.5f, window, level.side});
    expectNear(climbing.side, level.side);
    expectNear(climbing.view.position, level.view.position);
    EXPECT_TRUE(isFinite(viewOf(climbing.view)));

    // With no usable side before either, some side is taken all the same.
    for (const glm::vec3 previous : {glm::vec3(0.0f), glm::vec3(0.0f, 2.0f, 0.0f)})
    {
        const ChaseShot first = chaseCamera({boat, glm::vec3(0.0f, -1.0f, 0.0f), window * 0.5f, window, previous});
        EXPECT_NEAR(glm::length(first.side), 1.0f, 1e-5f);
        EXPECT_NEAR(glm::dot(first.side, glm::vec3(0.0f, 1.0f, 0.0f)), 0.0f, 1e-5f);
        EXPECT_NEAR(glm::distance(first.view.position, boat), 8.0f, 1e-3f);
        EXPECT_TRUE(isFinite(viewOf(first.view)));
    }
}

TEST(RaceSunTest, TurnsWithTheRaceClockAndTheAttractCameraCirclesThePlanet)
{
    expectNear(raceSun(0.0f, glm::vec3(0.0f)).direction, glm::vec3(1.0f, 0.0f, -0.2f));
    expectNear(raceSun(15.707963f, glm::vec3(0.0f)).direction, glm::vec3(0.0f, 1.0f, -0.2f));

    const CameraView view{glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, -2.0f), glm::vec3(0.0f, 1.0f, 0.0f)};
    expectNear(chaseSunCentre(view), glm::vec3(0.0f, 0.0f, -22.0f));
    expectNear(freeSunCentre(view), glm::vec3(0.0f, 0.0f, -20.0f));

    // 18 seconds turn the camera and the sun a quarter turn about Y.
    const AttractShot later = attractCamera(18.0);
    expectNear(later.view.position, glm::vec3(-321.7508f, 71.66443f, 85.38887f));
    expectNear(later.sun.direction, glm::vec3(0.0f, 0.0f, -1.0f));
}
}
