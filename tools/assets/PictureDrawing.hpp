#pragma once

#include "tools/assets/Lettering.hpp"
#include "tools/assets/Raster.hpp"

#include <string>
#include <vector>

// The faces the interface pictures are lettered in.
struct PictureFaces
{
    Typeface regular;
    Typeface bold;
};

struct NamedPicture
{
    // The path under Assets/ without ".png".
    std::string name;
    Canvas canvas;
};

// One size for the head-up display's texture array.
inline constexpr int hudLayerSize = 512;

// The head-up display's layers, drawn all at once, in the order of
// hudTextureNames.
std::vector<NamedPicture> drawHudLayers(const PictureFaces& faces);

// The menu's full-window title picture.
Canvas drawMenuBackground(const PictureFaces& faces);
