#include "engine/FileIo.hpp"
#include "engine/Log.hpp"
#include "graphics/ImageLoading.hpp"
#include "support/ErrorFlagTest.hpp"
#include "support/StdoutCapture.hpp"
#include "support/TemporaryFolder.hpp"

#include <stb_image_write.h>

#include <bit>
#include <cmath>
#include <limits>

namespace
{
class ImageLoadingTest : public ErrorFlagTest
{
protected:
    TemporaryFolder folder;
};

TEST(HalfConversionTest, MatchesTheTableBitForBit)
{
    const float infinity = std::numeric_limits<float>::infinity();
    const std::pair<float, std::uint16_t> cases[] = {
        {0.0f, 0x0000}, {-0.0f, 0x8000}, {1.0f, 0x3C00}, {-2.0f, 0xC000}, {65504.0f, 0x7BFF},
        // Rounding carries into infinity; nothing is clamped to the largest half.
        {65520.0f, 0x7C00}, {-65520.0f, 0xFC00}, {1.0e6f, 0x7C00}, {infinity, 0x7C00}, {-infinity, 0xFC00},
        {std::ldexp(1.0f, -14), 0x0400}, {std::ldexp(1.0f, -15), 0x0200}, {std::ldexp(1.0f, -24), 0x0001},
        {-std::ldexp(1.0f, -24), 0x8001}, {std::ldexp(1.0f, -25), 0x0000}, {std::ldexp(1.5f, -25), 0x0000},
        {-std::numeric_limits<float>::denorm_min(), 0x8000},
        // Subnormal halves truncate, normal ones round to nearest, ties to even.
        {std::ldexp(1.75f, -24), 0x0001}, {1.0f + std::ldexp(1.0f, -11), 0x3C00},
        {1.0f + 3.0f * std::ldexp(1.0f, -11), 0x3C02}, {1.0f + std::ldexp(1.0f, -11) + std::ldexp(1.0f, -20), 0x3C01},
        {2.0f - std::ldexp(1.0f, -12), 0x4000},
        {std::bit_cast<float>(0x7FC00000u), 0x7E01}, {std::bit_cast<float>(0xFFC00000u), 0xFE01},
        {std::bit_cast<float>(0x7F800001u), 0x7C01},
    };
    for (const auto& [value, half] : cases)
    {
        EXPECT_EQ(floatToHalf(value), half) << "float bits 0x" << std::hex << std::bit_cast<std::uint32_t>(value);
    }
}

TEST(ImageDataTest, EitherSideZeroMakesTheEmptyImage)
{
    const ImageData<std::uint32_t> empty(0, 5);
    EXPECT_EQ(empty.height, 0u);
    EXPECT_TRUE(empty.pixels.empty());
}

TEST_F(ImageLoadingTest, PngBecomesRgbaBytesOrHalfFloats)
{
    // Three channels over two rows, so lost alpha or a flipped decode shows.
    const unsigned char rgb[] = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};
    ASSERT_NE(stbi_write_png("rgb.png", 2, 2, 3, rgb, 2 * 3), 0);
    const std::optional<ImageData<std::uint32_t>> image = loadImage("rgb.png");
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->width, 2u);
    EXPECT_EQ(image->height, 2u);
    EXPECT_EQ(image->pixels, (std::vector<std::uint32_t>{0xFF1E140A, 0xFF3C3228, 0xFF5A5046, 0xFF786E64}));

    const unsigned char rgba[] = {255, 0, 255, 0};
    ASSERT_NE(stbi_write_png("rgba.png", 1, 1, 4, rgba, 4), 0);
    const std::optional<ImageData<std::uint64_t>> halves = loadImageFloat("rgba.png");
    ASSERT_TRUE(halves.has_value());
    EXPECT_EQ(halves->pixels, std::vector<std::uint64_t>{0x0000'3C00'0000'3C00});
    EXPECT_FALSE(hasErrors());
}

TEST_F(ImageLoadingTest, HdrBecomesHalfFloatsInRgbaOrder)
{
    // Values that the shared-exponent encoding keeps exactly.
    const float rgb[] = {1.0f, 0.5f, 2.0f, 0.0f, 0.25f, 4.0f};
    ASSERT_NE(stbi_write_hdr("sky.hdr", 2, 1, 3, rgb), 0);
    const std::optional<ImageData<std::uint64_t>> image = loadImageFloat("sky.hdr");
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->width, 2u);
    EXPECT_EQ(image->pixels, (std::vector<std::uint64_t>{0x3C00'4000'3800'3C00, 0x3C00'4400'3400'0000}));
}

TEST_F(ImageLoadingTest, MissingAndUndecodableFilesAreErrors)
{
    ASSERT_TRUE(writeFile("broken.png", "\x89PNG\r\n\x1a\nnot really", false));
    StdoutCapture capture;
    EXPECT_FALSE(loadImage("Assets/Textures/none.png").has_value());
    EXPECT_FALSE(loadImageFloat("none.hdr").has_value());
    EXPECT_FALSE(loadImage("broken.png").has_value());
    EXPECT_FALSE(loadImageFloat("broken.png").has_value());
    EXPECT_EQ(capture.messages(), (std::vector<std::string>{
                                      "ERROR: Image file \"Assets/Textures/none.png\" could not be found.",
                                      "ERROR: Image file \"none.hdr\" could not be found.",
                                      "ERROR: Image loading has failed.", "ERROR: Image loading has failed."}));
}
}
