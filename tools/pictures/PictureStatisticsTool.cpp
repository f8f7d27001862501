// Prints how light, how blown out and how colourful a PNG or PPM picture is
// (the measures are defined in PictureStatistics.hpp). With --race-look it
// also ends with 1 when the figures fall outside what a race frame has to
// keep, e.g.:
//   build/tools/PictureStatistics build/screenshots/race-chase.png --race-look
#include "graphics/ImageLoading.hpp"
#include "tools/pictures/PictureStatistics.hpp"

#include <cstdio>
#include <string_view>

int main(int argc, char** argv)
{
    const bool raceLook = argc == 3 && std::string_view(argv[2]) == "--race-look";
    if (argc != 2 && !raceLook)
    {
        std::printf("Usage: PictureStatistics PICTURE [--race-look]\n");
        return 2;
    }
    const std::optional<ImageData<std::uint32_t>> picture = loadImage(argv[1]);
    if (!picture)
    {
        return 2;
    }
    const PictureStatistics statistics = measurePicture(*picture);
    std::printf("%s\n", describe(statistics).c_str());
    if (raceLook && !meetsRaceLook(statistics))
    {
        std::printf("The picture is outside the race's look.\n");
        return 1;
    }
    return 0;
}
