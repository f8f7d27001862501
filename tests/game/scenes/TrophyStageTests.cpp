#include "game/scenes/TrophyStage.hpp"

#include <glm/gtc/quaternion.hpp>
#include <gtest/gtest.h>

#include <string>

namespace
{
TEST(TrophyStageTest, PlacesOneToThreeWinGoldSilverAndBronzeTheOthersNone)
{
    EXPECT_FALSE(wonGoblet(0)) << "no race yet";
    EXPECT_EQ(std::string(trophyGoblets[wonGoblet(1).value()].name), "Models/Trophies/gold_goblet");
    EXPECT_EQ(std::string(trophyGoblets[wonGoblet(2).value()].name), "Models/Trophies/silver_goblet");
    EXPECT_EQ(std::string(trophyGoblets[wonGoblet(3).value()].name), "Models/Trophies/bronze_goblet");
    for (const std::int32_t place : {4, 5, 6, -1})
    {
        EXPECT_FALSE(wonGoblet(place)) << place;
    }
    // The won goblet moves in front of the others.
    for (const Goblet& goblet : trophyGoblets)
    {
        EXPECT_GT(winnerPosition.z, goblet.position.z);
    }
}

TEST(TrophyStageTest, TheGobletTurnsThirtyDegreesASecondAboutTheUpAxis)
{
    const glm::vec3 quarterTurn = gobletSpin(3.0) * glm::vec3(1.0f, 0.0f, 0.0f);
    EXPECT_NEAR(quarterTurn.x, 0.0f, 1e-5f);
    EXPECT_NEAR(quarterTurn.y, 0.0f, 1e-5f);
    EXPECT_NEAR(quarterTurn.z, -1.0f, 1e-5f);
    const glm::vec3 up = gobletSpin(1.7) * glm::vec3(0.0f, 1.0f, 0.0f);
    EXPECT_NEAR(up.y, 1.0f, 1e-5f);
    const glm::vec3 fullTurn = gobletSpin(12.0) * glm::vec3(1.0f, 0.0f, 0.0f);
    EXPECT_NEAR(fullTurn.x, 1.0f, 1e-5f);
}
}
