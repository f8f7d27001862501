#pragma once

#include "graphics/ImageData.hpp"

#include <cstdint>
#include <string>

// How light, how blown out and how colourful a picture is, as a player sees it
// on the screen: every measure works on the stored (display-encoded) values,
// each channel taken as byte / 255.
// - grey: the Rec. 709 luma 0.2126 R + 0.7152 G + 0.0722 B of a pixel;
//   meanGrey is its mean over the picture.
// - brightShare: the share of pixels whose grey is above 0.85.
// - saturation: the HSL saturation of a pixel, (max - min) / (1 - |max + min - 1|)
//   of its channels, 0 for a grey pixel; meanSaturation is its mean.
// The menu's picture gives about 0.49, 10 % and 0.57.
struct PictureStatistics
{
    double meanGrey = 0.0;
    double brightShare = 0.0;
    double meanSaturation = 0.0;
};

// Pixels as the image loader gives them: the bytes R, G, B, A; alpha is not read.
// An empty picture gives zeros.
PictureStatistics measurePicture(const ImageData<std::uint32_t>& picture);

// What a race frame has to keep to read as a clear day rather than a haze:
// mean grey 0.35 to 0.6, at most 12 % of the pixels above 0.85, mean saturation
// at least 0.45.
bool meetsRaceLook(const PictureStatistics& statistics);

// "mean grey 0.49, above 0.85 9.6 %, mean saturation 0.57".
std::string describe(const PictureStatistics& statistics);
