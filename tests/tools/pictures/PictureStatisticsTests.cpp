#include "tools/pictures/PictureStatistics.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

namespace
{
using Rgba = std::array<std::uint8_t, 4>;

ImageData<std::uint32_t> pictureOf(const std::vector<Rgba>& pixels)
{
    ImageData<std::uint32_t> picture(static_cast<std::uint32_t>(pixels.size()), 1);
    std::memcpy(picture.pixels.data(), pixels.data(), pixels.size() * sizeof(Rgba));
    return picture;
}

TEST(PictureStatisticsTest, GreyIsLumaBrightIsAboveEightyFivePercentAndSaturationIsHsl)
{
    // Black and white are grey; alpha is not read.
    const PictureStatistics extremes = measurePicture(pictureOf({{0, 0, 0, 255}, {255, 255, 255, 0}}));
    EXPECT_DOUBLE_EQ(extremes.meanGrey, 0.5);
    EXPECT_DOUBLE_EQ(extremes.brightShare, 0.5);
    EXPECT_DOUBLE_EQ(extremes.meanSaturation, 0.0);

    // Pure primaries are fully saturated, however dark or light they look;
    // their grey is the channel's luma weight.
    const PictureStatistics primaries = measurePicture(pictureOf({{255, 0, 0, 255}, {0, 0, 255, 255}}));
    EXPECT_NEAR(primaries.meanGrey, (0.2126 + 0.0722) / 2.0, 1e-9);
    EXPECT_DOUBLE_EQ(primaries.brightShare, 0.0);
    EXPECT_NEAR(primaries.meanSaturation, 1.0, 1e-9);

    // HSL takes a pale tint with one channel at full for fully saturated,
    // and a dim one for half as saturated as its hue allows; 217 is just
    // above 0.85, 216 just not.
    const PictureStatistics tints = measurePicture(pictureOf({{204, 230, 255, 255}, {51, 51, 102, 255},
                                                               {217, 217, 217, 255}, {216, 216, 216, 255}}));
    EXPECT_NEAR(tints.meanSaturation, (1.0 + 1.0 / 3.0) / 4.0, 1e-9);
    EXPECT_NEAR(tints.brightShare, 2.0 / 4.0, 1e-9);
}

TEST(PictureStatisticsTest, AnEmptyPictureMeasuresNothing)
{
    const PictureStatistics none = measurePicture(ImageData<std::uint32_t>());
    EXPECT_EQ(none.meanGrey, 0.0);
    EXPECT_EQ(none.brightShare, 0.0);
    EXPECT_EQ(none.meanSaturation, 0.0);
}

TEST(PictureStatisticsTest, TheRaceLookTakesItsBoundsAsTheyAreAndNothingBeyond)
{
    EXPECT_TRUE(meetsRaceLook({0.35, 0.12, 0.45}));
    EXPECT_TRUE(meetsRaceLook({0.6, 0.0, 1.0}));
    EXPECT_FALSE(meetsRaceLook({0.349, 0.0, 0.6}));
    EXPECT_FALSE(meetsRaceLook({0.601, 0.0, 0.6}));
    EXPECT_FALSE(meetsRaceLook({0.5, 0.121, 0.6}));
    EXPECT_FALSE(meetsRaceLook({0.5, 0.0, 0.449}));
    // The washed-out race the figures were made to catch.
    EXPECT_FALSE(meetsRaceLook({0.72, 0.38, 0.39}));
}

TEST(PictureStatisticsTest, DescribesTheFiguresAsTheBenchmarkAndTheToolPrintThem)
{
    EXPECT_EQ(describe({0.4921, 0.0963, 0.5689}), "mean grey 0.49, above 0.85 9.6 %, mean saturation 0.57");
}
} // namespace
