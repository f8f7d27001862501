#include "graphics/Texture.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace
{
TEST(MipLevelCountTest, CountsLevelsDownToOnePixelAlongTheLongerSide)
{
    EXPECT_EQ(mipLevelCount(1024, 512, true), 11u);
    EXPECT_EQ(mipLevelCount(512, 1024, true), 11u);
    EXPECT_EQ(mipLevelCount(1000, 600, true), 10u);
    EXPECT_EQ(mipLevelCount(1023, 1, true), 10u);
    EXPECT_EQ(mipLevelCount(1, 1, true), 1u);
    EXPECT_EQ(mipLevelCount(std::numeric_limits<std::uint32_t>::max(), 1, true), 32u);
    EXPECT_EQ(mipLevelCount(0, 0, true), 1u);
}

TEST(MipLevelCountTest, WithoutMipmapsThereIsOneLevel)
{
    EXPECT_EQ(mipLevelCount(1024, 512, false), 1u);
    EXPECT_EQ(mipLevelCount(1, 1, false), 1u);
}
}
