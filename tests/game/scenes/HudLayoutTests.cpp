#include "game/scenes/HudLayout.hpp"

#include <gtest/gtest.h>

namespace
{
TEST(HudLayoutTest, At1280x720TheDialStandsBottomRightAndTheBadgesBottomLeft)
{
    const HudLayout layout = hudLayoutFor(1280, 720);
    EXPECT_FLOAT_EQ(layout.speedometerSize, 144.0f);
    EXPECT_FLOAT_EQ(layout.speedometerX, 1172.0f);
    EXPECT_FLOAT_EQ(layout.speedometerY, 684.0f);
    EXPECT_FLOAT_EQ(layout.badgeSize, 180.0f);
    EXPECT_FLOAT_EQ(layout.badgeCentre.x, 90.0f);
    EXPECT_FLOAT_EQ(layout.badgeCentre.y, 630.0f);
    // "00:00.00" centred at the top.
    EXPECT_FLOAT_EQ(layout.clockPosition.x, 563.8f);
    EXPECT_FLOAT_EQ(layout.clockPosition.y, 10.0f);
    // The dial's lowest quarter hangs below the window; the badge sits on its bottom edge.
    EXPECT_LE(layout.speedometerX + layout.speedometerHalfSize, 1280.0f);
    EXPECT_FLOAT_EQ(layout.speedometerY + layout.speedometerHalfSize * 0.5f, 720.0f);
    EXPECT_FLOAT_EQ(layout.badgeCentre.y + layout.badgeSize * 0.5f, 720.0f);
}

TEST(HudLayoutTest, LapAndPlaceBadgesClampToThePicturesThereAre)
{
    EXPECT_EQ(hudTextureNames[lapLayer(1)], std::string("Textures/Lap 1"));
    EXPECT_EQ(hudTextureNames[lapLayer(3)], std::string("Textures/Lap 3"));
    EXPECT_EQ(lapLayer(4), lapLayer(3)) << "after the finish";
    EXPECT_EQ(lapLayer(0), lapLayer(1));
    EXPECT_EQ(hudTextureNames[placeLayer(1)], std::string("Textures/1. Place"));
    EXPECT_EQ(hudTextureNames[placeLayer(6)], std::string("Textures/6. Place"));
    EXPECT_EQ(placeLayer(0), placeLayer(1)) << "before any race";
    EXPECT_EQ(placeLayer(-3), placeLayer(1));
    EXPECT_EQ(placeLayer(7), placeLayer(6));
    EXPECT_EQ(hudTextureNames[speedometerLayer], std::string("Textures/Speedometer"));
    EXPECT_EQ(hudTextureNames[needleLayer], std::string("Textures/Speedometer Needle"));
    EXPECT_EQ(hudTextureNames[debugLayer], std::string("Textures/Debug"));
}
}
