#include "game/scenes/TrophyStage.hpp"

#include <glm/gtc/quaternion.hpp>
#include <gtest/gtest.h>

#include <string>

namespace
{
TEST(TrophyStageTest, PlacesOneToThreeWinGoldSilverAndBronzeTheOthersNone)
{
    EXPECT_FALSE(wonGoblet(0)) << "no race yet";
    EXPECT_EQ(materialName(trophyGoblets[wonGoblet(1).value()].material), "Models/Trophies/gold_goblet");
    EXPECT_EQ(materialName(trophyGoblets[wonGoblet(2).value()].material), "Models/Trophies/silver_goblet");
    EXPECT_EQ(materialName(trophyGoblets[wonGoblet(3).value()].material), "Models/Trophies/bronze_goblet");
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

TEST(TrophyStageTest, TheWonGobletStandsInFrontAndTheOthersOnTheirOwnSpots)
{
    const std::array<glm::vec3, 3> silverWon = gobletPositions(2);
    EXPECT_EQ(silverWon[0], trophyGoblets[0].position);
    EXPECT_EQ(silverWon[1], winnerPosition);
    EXPECT_EQ(silverWon[2], trophyGoblets[2].position);
    for (const std::int32_t place : {0, 4, 6})
    {
        const std::array<glm::vec3, 3> noneWon = gobletPositions(place);
        for (std::size_t goblet = 0; goblet < trophyGoblets.size(); ++goblet)
        {
            EXPECT_EQ(noneWon[goblet], trophyGoblets[goblet].position) << place;
        }
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
