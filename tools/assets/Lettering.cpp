#include "tools/assets/Lettering.hpp"

#include <fmt/core.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>

std::optional<Typeface> loadTypeface(const std::string_view fileName)
{
    const std::filesystem::path path = letteringFontFolder / fileName;
    std::ifstream stream(path, std::ios::binary);
    Typeface face;
    face.data.assign(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
    const int offset = face.data.empty() ? -1 : stbtt_GetFontOffsetForIndex(face.data.data(), 0);
    if (offset < 0 || stbtt_InitFont(&face.info, face.data.data(), offset) == 0)
    {
        fmt::print(stderr, "Cannot read the font {}\n", path.string());
        return std::nullopt;
    }
    return face;
}

float textWidth(const Typeface& face, std::string_view text, float pixelHeight)
{
    const float scale = stbtt_ScaleForPixelHeight(&face.info, pixelHeight);
    float width = 0.0f;
    for (std::size_t index = 0; index < text.size(); ++index)
    {
        int advance = 0;
        int bearing = 0;
        stbtt_GetCodepointHMetrics(&face.info, static_cast<unsigned char>(text[index]), &advance, &bearing);
        width += static_cast<float>(advance) * scale;
        if (index + 1 < text.size())
        {
            width +=
                static_cast<float>(stbtt_GetCodepointKernAdvance(&face.info, static_cast<unsigned char>(text[index]),
                                                                 static_cast<unsigned char>(text[index + 1]))) *
                scale;
        }
    }
    return width;
}

void drawText(Canvas& canvas, const Typeface& face, std::string_view text, float pixelHeight, glm::vec2 origin,
              TextAnchor anchor, glm::vec4 colour)
{
    const float scale = stbtt_ScaleForPixelHeight(&face.info, pixelHeight);
    const float width = textWidth(face, text, pixelHeight);
    float pen = origin.x - (anchor == TextAnchor::Centre ? width * 0.5f : anchor == TextAnchor::Right ? width : 0.0f);
    for (std::size_t index = 0; index < text.size(); ++index)
    {
        const int codePoint = static_cast<unsigned char>(text[index]);
        const float shiftX = pen - std::floor(pen);
        const float shiftY = origin.y - std::floor(origin.y);
        int x0 = 0;
        int y0 = 0;
        int x1 = 0;
        int y1 = 0;
        stbtt_GetCodepointBitmapBoxSubpixel(&face.info, codePoint, scale, scale, shiftX, shiftY, &x0, &y0, &x1, &y1);
        const int glyphWidth = x1 - x0;
        const int glyphHeight = y1 - y0;
        if (glyphWidth > 0 && glyphHeight > 0)
        {
            std::vector<unsigned char> coverage(static_cast<std::size_t>(glyphWidth * glyphHeight));
            stbtt_MakeCodepointBitmapSubpixel(&face.info, coverage.data(), glyphWidth, glyphHeight, glyphWidth, scale,
                                              scale, shiftX, shiftY, codePoint);
            const int left = static_cast<int>(std::floor(pen)) + x0;
            const int top = static_cast<int>(std::floor(origin.y)) + y0;
            for (int y = 0; y < glyphHeight; ++y)
            {
                for (int x = 0; x < glyphWidth; ++x)
                {
                    const int px = left + x;
                    const int py = top + y;
                    const unsigned char value = coverage[static_cast<std::size_t>(y * glyphWidth + x)];
                    if (px < 0 || py < 0 || px >= canvas.width || py >= canvas.height || value == 0)
                    {
                        continue;
                    }
                    canvas.at(px, py) = over(canvas.at(px, py), colour, static_cast<float>(value) / 255.0f);
                }
            }
        }
        int advance = 0;
        int bearing = 0;
        stbtt_GetCodepointHMetrics(&face.info, codePoint, &advance, &bearing);
        pen += static_cast<float>(advance) * scale;
        if (index + 1 < text.size())
        {
            pen += static_cast<float>(stbtt_GetCodepointKernAdvance(&face.info, codePoint,
                                                                    static_cast<unsigned char>(text[index + 1]))) *
                   scale;
        }
    }
}
