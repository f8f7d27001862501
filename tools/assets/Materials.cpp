// Bakes the material patterns into the three maps each texture array layer
// is read from: the base colour, the tangent-space normal map and the
// ARME map (ambient occlusion, roughness, metallic, emission in R, G, B, A).
#include "tools/assets/AssetFiles.hpp"
#include "tools/assets/AssetKinds.hpp"
#include "tools/assets/MaterialSurfaces.hpp"
#include "tools/assets/Parallel.hpp"

#include <glm/common.hpp>
#include <glm/geometric.hpp>

#include <algorithm>
#include <atomic>
#include <cmath>

namespace
{
// One size for every layer: the arrays need equal layers.
constexpr int materialSize = 512;

std::uint8_t toByte(float value)
{
    return static_cast<std::uint8_t>(std::lround(glm::clamp(value, 0.0f, 1.0f) * 255.0f));
}

// The base colour, normal and ARME maps of a pattern, under Assets/.
std::vector<std::filesystem::path> mapPaths(const MaterialPattern& pattern)
{
    std::vector<std::filesystem::path> paths;
    for (const char* map : {" Albedo.png", " Normal.png", " ARME.png"})
    {
        paths.emplace_back(pattern.name + map);
    }
    return paths;
}

bool bakeMaterial(const std::filesystem::path& assets, const MaterialPattern& pattern)
{
    const int size = materialSize;
    const auto count = static_cast<std::size_t>(size * size);
    std::vector<Surface> surfaces(count);
    for (int y = 0; y < size; ++y)
    {
        for (int x = 0; x < size; ++x)
        {
            const glm::vec2 unit((static_cast<float>(x) + 0.5f) / static_cast<float>(size),
                                 (static_cast<float>(y) + 0.5f) / static_cast<float>(size));
            surfaces[static_cast<std::size_t>(y * size + x)] = pattern.surface(unit);
        }
    }

    std::vector<std::uint8_t> albedo(count * 4);
    std::vector<std::uint8_t> normal(count * 4);
    std::vector<std::uint8_t> arme(count * 4);
    const auto heightAt = [&](int x, int y) {
        return surfaces[static_cast<std::size_t>(((y + size) % size) * size + (x + size) % size)].height;
    };
    for (int y = 0; y < size; ++y)
    {
        for (int x = 0; x < size; ++x)
        {
            const std::size_t index = static_cast<std::size_t>(y * size + x);
            const Surface& surface = surfaces[index];
            // Slopes per tile width across the wrapped neighbours. The image's
            // rows run against the bitangent the shader builds (normal x
            // tangent), so a height rising down the picture tilts the normal
            // up the picture: the usual green-up convention.
            const float slopeX = (heightAt(x + 1, y) - heightAt(x - 1, y)) * 0.5f * static_cast<float>(size);
            const float slopeY = (heightAt(x, y + 1) - heightAt(x, y - 1)) * 0.5f * static_cast<float>(size);
            const glm::vec3 direction =
                glm::normalize(glm::vec3(-slopeX * pattern.depth, slopeY * pattern.depth, 1.0f));
            for (int channel = 0; channel < 3; ++channel)
            {
                albedo[index * 4 + static_cast<std::size_t>(channel)] = toByte(surface.albedo[channel]);
                normal[index * 4 + static_cast<std::size_t>(channel)] = toByte(direction[channel] * 0.5f + 0.5f);
            }
            albedo[index * 4 + 3] = 255;
            normal[index * 4 + 3] = 255;
            arme[index * 4 + 0] = toByte(surface.occlusion);
            arme[index * 4 + 1] = toByte(surface.roughness);
            arme[index * 4 + 2] = toByte(surface.metallic);
            arme[index * 4 + 3] = toByte(surface.emission);
        }
    }
    const std::vector<std::filesystem::path> files = mapPaths(pattern);
    return writePng(assets / files[0], size, size, 4, albedo) && writePng(assets / files[1], size, size, 4, normal) &&
           writePng(assets / files[2], size, size, 4, arme);
}

std::vector<MaterialPattern> allMaterials()
{
    std::vector<MaterialPattern> patterns = trackMaterials();
    for (MaterialPattern& pattern : trophyMaterials())
    {
        patterns.push_back(std::move(pattern));
    }
    return patterns;
}
} // namespace

std::vector<std::filesystem::path> materialPaths()
{
    std::vector<std::filesystem::path> paths;
    for (const MaterialPattern& pattern : allMaterials())
    {
        for (std::filesystem::path& path : mapPaths(pattern))
        {
            paths.push_back(std::move(path));
        }
    }
    return paths;
}

std::optional<std::size_t> writeMaterials(const std::filesystem::path& assets, const AssetSelection& wanted)
{
    std::vector<MaterialPattern> patterns;
    for (MaterialPattern& pattern : allMaterials())
    {
        const std::vector<std::filesystem::path> files = mapPaths(pattern);
        if (std::any_of(files.begin(), files.end(), wanted))
        {
            patterns.push_back(std::move(pattern));
        }
    }
    // The folders first: the writers below run side by side.
    for (const MaterialPattern& pattern : patterns)
    {
        std::error_code error;
        std::filesystem::create_directories((assets / pattern.name).parent_path(), error);
    }
    std::atomic<bool> written{true};
    forEachIndex(static_cast<int>(patterns.size()), [&](int index) {
        if (!bakeMaterial(assets, patterns[static_cast<std::size_t>(index)]))
        {
            written = false;
        }
    });
    if (!written)
    {
        return std::nullopt;
    }
    return patterns.size() * 3;
}
