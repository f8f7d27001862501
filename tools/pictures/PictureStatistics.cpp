#include "tools/pictures/PictureStatistics.hpp"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

namespace
{
constexpr double brightGrey = 0.85;

struct RaceLook
{
    double minGrey = 0.35;
    double maxGrey = 0.6;
    double maxBrightShare = 0.12;
    double minSaturation = 0.45;
};
constexpr RaceLook raceLook;

double unit(std::uint8_t byte)
{
    return static_cast<double>(byte) / 255.0;
}
}

PictureStatistics measurePicture(const ImageData<std::uint32_t>& picture)
{
    PictureStatistics statistics;
    if (picture.pixels.empty())
    {
        return statistics;
    }
    double greySum = 0.0;
    double saturationSum = 0.0;
    std::size_t bright = 0;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(picture.pixels.data());
    for (std::size_t pixel = 0; pixel < picture.pixels.size(); ++pixel)
    {
        const std::uint8_t* rgba = bytes + pixel * sizeof(std::uint32_t);
        const double red = unit(rgba[0]);
        const double green = unit(rgba[1]);
        const double blue = unit(rgba[2]);
        const double grey = 0.2126 * red + 0.7152 * green + 0.0722 * blue;
        greySum += grey;
        bright += grey > brightGrey ? 1 : 0;
        const double highest = std::max({red, green, blue});
        const double lowest = std::min({red, green, blue});
        // Only pure black and pure white make the denominator 0, and both are grey.
        const double spread = highest - lowest;
        saturationSum += spread > 0.0 ? spread / (1.0 - std::abs(highest + lowest - 1.0)) : 0.0;
    }
    const double count = static_cast<double>(picture.pixels.size());
    statistics.meanGrey = greySum / count;
    statistics.brightShare = static_cast<double>(bright) / count;
    statistics.meanSaturation = saturationSum / count;
    return statistics;
}

bool meetsRaceLook(const PictureStatistics& statistics)
{
    return statistics.meanGrey >= raceLook.minGrey && statistics.meanGrey <= raceLook.maxGrey &&
           statistics.brightShare <= raceLook.maxBrightShare && statistics.meanSaturation >= raceLook.minSaturation;
}

std::string describe(const PictureStatistics& statistics)
{
    return fmt::format("mean grey {:.2f}, above {} {:.1f} %, mean saturation {:.2f}", statistics.meanGrey, brightGrey,
                       statistics.brightShare * 100.0, statistics.meanSaturation);
}
