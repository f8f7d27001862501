// The flat pictures: the head-up display's layers, the menu's title picture,
// the smoke puff, the ocean's wave normal map and the BRDF look-up table.
#include "game/assets/AssetPaths.hpp"
#include "renderers/deferred/RendererPictures.hpp"
#include "tools/assets/AssetFiles.hpp"
#include "tools/assets/AssetKinds.hpp"
#include "tools/assets/Brdf.hpp"
#include "tools/assets/Noise.hpp"
#include "tools/assets/Parallel.hpp"
#include "tools/assets/PictureDrawing.hpp"

#include <glm/geometric.hpp>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

namespace
{
constexpr float pi = std::numbers::pi_v<float>;

constexpr int smokeSize = 128;
constexpr int waveSize = 512;
constexpr int brdfSize = 256;
constexpr int brdfSamples = 512;

// A soft, lumpy puff, white-grey, that fades out well inside its square.
Canvas drawSmoke()
{
    Canvas canvas(smokeSize, smokeSize, glm::vec4(0.0f));
    const float half = static_cast<float>(smokeSize) * 0.5f;
    for (int y = 0; y < smokeSize; ++y)
    {
        for (int x = 0; x < smokeSize; ++x)
        {
            const glm::vec2 unit((static_cast<float>(x) + 0.5f) / static_cast<float>(smokeSize),
                                 (static_cast<float>(y) + 0.5f) / static_cast<float>(smokeSize));
            const glm::vec2 offset = (unit * static_cast<float>(smokeSize) - half) / half;
            const float billow = tileFbm(unit, 4, 5, 2101);
            const float radius = glm::length(offset) * (0.85f + 0.4f * (billow - 0.5f));
            const float density = 1.0f - smoothStep(0.2f, 0.92f, radius);
            const float shade = 0.78f + 0.18f * billow - 0.08f * offset.y;
            canvas.at(x, y) = glm::vec4(glm::vec3(shade, shade, shade * 1.02f), density * density * 0.9f);
        }
    }
    return canvas;
}

// Water ripples as a tangent-space normal map that tiles: a sum of waves
// whose frequencies are whole numbers of cycles across the square, with
// their exact slopes, in the same green-up encoding as the material maps.
std::vector<std::uint8_t> drawWaves()
{
    struct Wave
    {
        glm::vec2 cycles;
        float amplitude;
        float phase;
    };
    std::vector<Wave> waves;
    for (int index = 0; index < 32; ++index)
    {
        const float angle = (hashUnit(index, 0, 2201) - 0.5f) * 2.4f;
        const float frequency = 3.0f + std::floor(hashUnit(index, 1, 2201) * 14.0f);
        const glm::vec2 cycles = glm::round(glm::vec2(std::cos(angle), std::sin(angle)) * frequency);
        if (cycles == glm::vec2(0.0f))
        {
            continue;
        }
        waves.push_back(
            {cycles, 1.0f / (glm::length(cycles) * glm::length(cycles)), hashUnit(index, 2, 2201) * 2.0f * pi});
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(waveSize * waveSize * 4));
    forEachIndex(waveSize, [&](int y) {
        for (int x = 0; x < waveSize; ++x)
        {
            const glm::vec2 unit((static_cast<float>(x) + 0.5f) / static_cast<float>(waveSize),
                                 (static_cast<float>(y) + 0.5f) / static_cast<float>(waveSize));
            glm::vec2 slope(0.0f);
            for (const Wave& wave : waves)
            {
                // Sharpened crests: the slope of sin raised over its troughs.
                const float argument = 2.0f * pi * glm::dot(wave.cycles, unit) + wave.phase;
                const float crest = 0.75f + 0.25f * std::sin(argument);
                slope += wave.cycles * 2.0f * pi * wave.amplitude * std::cos(argument) * crest;
            }
            const glm::vec3 normal = glm::normalize(glm::vec3(-slope.x * 0.09f, slope.y * 0.09f, 1.0f));
            std::uint8_t* texel = &bytes[static_cast<std::size_t>((y * waveSize + x) * 4)];
            for (int channel = 0; channel < 3; ++channel)
            {
                texel[channel] = static_cast<std::uint8_t>(std::lround((normal[channel] * 0.5f + 0.5f) * 255.0f));
            }
            texel[3] = 255;
        }
    });
    return bytes;
}

bool writeCanvas(const std::filesystem::path& path, const Canvas& canvas)
{
    return writePng(path, canvas.width, canvas.height, 4, toBytes(canvas));
}

const std::filesystem::path backgroundPath = menuBackgroundFile;
const std::filesystem::path smokePath = smokeFile;
const std::filesystem::path wavesPath = oceanWavesFile;
const std::filesystem::path brdfPath = brdfTableFile;

std::vector<std::filesystem::path> hudPaths()
{
    std::vector<std::filesystem::path> paths;
    for (const std::string& name : hudTextureNames)
    {
        paths.emplace_back(name + ".png");
    }
    return paths;
}

// The lettered pictures, drawn in the two faces; the layers of the head-up
// display are drawn all together.
std::optional<std::size_t> writeLettered(const std::filesystem::path& assets, bool hud, bool background)
{
    std::optional<Typeface> regular = loadTypeface("DejaVuSans.ttf");
    std::optional<Typeface> bold = loadTypeface("DejaVuSans-Bold.ttf");
    if (!regular || !bold)
    {
        return std::nullopt;
    }
    const PictureFaces faces{std::move(*regular), std::move(*bold)};
    std::size_t count = 0;
    if (hud)
    {
        for (const NamedPicture& layer : drawHudLayers(faces))
        {
            if (!writeCanvas(assets / (layer.name + ".png"), layer.canvas))
            {
                return std::nullopt;
            }
            ++count;
        }
    }
    if (background)
    {
        if (!writeCanvas(assets / backgroundPath, drawMenuBackground(faces)))
        {
            return std::nullopt;
        }
        ++count;
    }
    return count;
}
} // namespace

std::vector<std::filesystem::path> picturePaths()
{
    std::vector<std::filesystem::path> paths = hudPaths();
    paths.insert(paths.end(), {backgroundPath, smokePath, wavesPath, brdfPath});
    return paths;
}

std::optional<std::size_t> writePictures(const std::filesystem::path& assets, const AssetSelection& wanted)
{
    const std::vector<std::filesystem::path> hud = hudPaths();
    const bool hudWanted = std::any_of(hud.begin(), hud.end(), wanted);
    std::size_t count = 0;
    if (hudWanted || wanted(backgroundPath))
    {
        const std::optional<std::size_t> lettered = writeLettered(assets, hudWanted, wanted(backgroundPath));
        if (!lettered)
        {
            return std::nullopt;
        }
        count += *lettered;
    }
    const std::pair<std::filesystem::path, std::function<bool(const std::filesystem::path&)>> plain[]{
        {smokePath, [](const std::filesystem::path& path) { return writeCanvas(path, drawSmoke()); }},
        {wavesPath,
         [](const std::filesystem::path& path) { return writePng(path, waveSize, waveSize, 4, drawWaves()); }},
        {brdfPath,
         [](const std::filesystem::path& path) {
             return writePng(path, brdfSize, brdfSize, 4, brdfLookupTable(brdfSize, brdfSamples));
         }},
    };
    for (const auto& [path, write] : plain)
    {
        if (!wanted(path))
        {
            continue;
        }
        if (!write(assets / path))
        {
            return std::nullopt;
        }
        ++count;
    }
    return count;
}
